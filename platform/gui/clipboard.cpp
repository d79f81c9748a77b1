#include "platform/gui/clipboard.h"

#include "platform/win/shell.h"

TClipboard::~TClipboard()
{
    if (FOpenCount > 0)
        win::CloseClipboard();
}

void TClipboard::Open()
{
    if (FOpenCount == 0) {
        if (!win::OpenClipboard(nullptr))
            throw EClipboardException("Cannot open clipboard");
    }
    ++FOpenCount;
}

void TClipboard::Close()
{
    if (FOpenCount == 0)
        return;
    if (--FOpenCount == 0)
        win::CloseClipboard();
}

void TClipboard::Clear()
{
    Open();
    win::EmptyClipboard();
    Close();
}

bool TClipboard::HasFormat(unsigned AFormat) const
{
    return win::IsClipboardFormatAvailable(AFormat);
}

std::string TClipboard::AsText() const
{
    return win::GetClipboardText().value_or(std::string());
}

void TClipboard::SetAsText(const std::string& AValue)
{
    // The text replaces whatever the clipboard held.
    Open();
    win::SetClipboardText(AValue);
    Close();
}

TClipboard* Clipboard()
{
    static TClipboard instance;
    return &instance;
}
