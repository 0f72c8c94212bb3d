#pragma once

// The application: prepares the process, renews the ".TZR" association and runs the editor, or
// the campaign window when the command line names several files or a folder.
class CTZRApp {
  public:
    // Returns false: there is no message loop besides the editor's own, so the program ends.
    bool InitInstance();
};

extern CTZRApp theApp;
