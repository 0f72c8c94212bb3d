#pragma once

// Whether standard error goes to a terminal that a progress line can be drawn on.
bool IsStandardErrorTerminal();
