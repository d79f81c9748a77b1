#pragma once
// The clipboard as the controls use it: text in and out, whether text is there, and Open/Close around several
// steps so that they reach other programs as one change.
#include "platform/rtl/classes.h"
#include "platform/rtl/exceptions.h"

#include <string>

class EClipboardException : public Exception {
public:
    using Exception::Exception;
};

class TClipboard : public TPersistent {
public:
    ~TClipboard() override;

    // Nested: only the outermost Open and Close reach the platform. Open raises EClipboardException
    // "Cannot open clipboard" while another thread holds it.
    void Open();
    void Close();
    void Clear();
    // CF_TEXT and CF_UNICODETEXT: the clipboard holds text that is not empty.
    bool HasFormat(unsigned AFormat) const;
    // Empty when the clipboard holds no text.
    std::string AsText() const;
    void SetAsText(const std::string& AValue);

private:
    int FOpenCount = 0;
};

// The program's clipboard, made on first use.
TClipboard* Clipboard();
