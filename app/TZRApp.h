#pragma once

#include <string>

// The application: prepares the process, renews the ".TZR" association and runs the editor as
// the program's only window.
class CTZRApp {
  public:
    // Returns false: there is no message loop besides the editor's own, so the program ends.
    bool InitInstance();

    const std::wstring& SettingsKey() const { return settingsKey_; }
    const std::wstring& AppName() const { return appName_; }

  private:
    std::wstring settingsKey_;
    std::wstring appName_;
};

extern CTZRApp theApp;
