#pragma once

#include <string>

// Opening a document with the desktop's opener and starting a program. Neither waits for what it
// started; a program that does not start at all is passed over.
class IShellLauncher {
public:
    virtual ~IShellLauncher() = default;
    // False when the desktop's opener could not be started, so the caller can say so.
    virtual bool OpenDocument(const std::string& path) = 0;
    // Starts `program` with `workingFolder` as its current folder, so that it finds the files it
    // keeps beside itself.
    virtual void StartProgram(const std::string& program, const std::string& workingFolder) = 0;
};

// Documents through xdg-open, programs directly; each path is one argument, no shell sees it.
class TShellLauncher : public IShellLauncher {
public:
    bool OpenDocument(const std::string& path) override;
    void StartProgram(const std::string& program, const std::string& workingFolder) override;
};
