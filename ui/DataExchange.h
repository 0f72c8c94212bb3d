#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/MessageIcon.h"

enum class ExchangeDirection { ToControls, ToRecord };

// Moves values between a dialog's controls and variables, one control at a time. Towards the
// record, a number that cannot be read stops the exchange: the message is shown and the control
// gets the focus with its text selected; the values taken before it stay taken.
class CDataExchange {
  public:
    using MessageSink = std::function<void(const std::wstring& text, MessageIcon icon)>;

    CDataExchange(HWND dialog, ExchangeDirection direction, MessageSink showMessage)
        : dialog_(dialog), direction_(direction), showMessage_(std::move(showMessage)) {}

    // Each returns false once the exchange has failed, so calls chain with &&.
    bool Text(int id, std::wstring& value);
    // Shown with "%.15g"; read with "%lf" from at most 399 characters.
    bool Double(int id, double& value);
    // Shown with "%d"; read with "%d" from at most 63 characters.
    bool Int(int id, int32_t& value);

  private:
    std::wstring ControlText(int id, size_t maxLength) const;
    bool Fail(int id, UINT messageId);

    HWND dialog_;
    ExchangeDirection direction_;
    MessageSink showMessage_;
    bool failed_ = false;
};
