#pragma once

#include <string>
#include <vector>

#include "header/HeaderReaderOwner.h"

// Keeps the texts of the message boxes the reader would show; there is nothing else to show.
class CollectingOwner : public HeaderReaderOwner {
  public:
    void ShowPath(const std::wstring&) override {}
    void ShowMessage(const std::wstring& text, MessageIcon) override { messages.push_back(text); }
    void ShowRecord() override {}
    void SetTimeOfFirstObsText(const std::wstring&) override {}

    std::vector<std::wstring> messages;
};
