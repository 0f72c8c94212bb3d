#pragma once

// Where an icon goes to stand centred in a client area, rounding toward zero as the window has
// always done, so a too narrow area puts it at 0 rather than -1.
constexpr int CenteredIconOffset(int clientSize, int iconSize) {
    return (clientSize - iconSize + 1) / 2;
}
