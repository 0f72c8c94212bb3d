#pragma once

#include <string>

enum class MessageIcon { Error, Warning, Question, Information };

// What the header reader asks of whoever shows the record: the editor dialog, the command-line
// tool or a test.
class HeaderReaderOwner {
  public:
    virtual ~HeaderReaderOwner() = default;

    virtual void ShowPath(const std::wstring& path) = 0;
    virtual void ShowMessage(const std::wstring& text, MessageIcon icon) = 0;
    // Shows every field of the record that has a control.
    virtual void ShowRecord() = 0;
    virtual void SetTimeOfFirstObsText(const std::wstring& text) = 0;
};
