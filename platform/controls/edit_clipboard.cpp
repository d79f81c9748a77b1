#include "platform/controls/edit_clipboard.h"

#include "platform/win/shell.h"

namespace edittext {

bool ClipboardHasText()
{
    std::optional<std::string> text = win::GetClipboardText();
    return text && !text->empty();
}

std::string ClipboardText() { return win::GetClipboardText().value_or(std::string()); }

void SetClipboardText(win::HWND AOwner, const std::string& AText)
{
    if (!win::OpenClipboard(AOwner))
        return;
    win::EmptyClipboard();
    win::SetClipboardText(AText);
    win::CloseClipboard();
}

}  // namespace edittext
