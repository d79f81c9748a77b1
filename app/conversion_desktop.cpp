#include "app/conversion_desktop.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/process.h"

bool OpenOutputFolder(const std::string& AFolder) { return OpenWithDefaultProgram(AFolder); }

void PowerOffComputer()
{
    const TStartResult result = StartProgram({"systemctl", "poweroff"}, true);
    if (!result.Started) throw EOSError(result.Error);
    if (result.ExitCode != 0) throw EOSError("systemctl poweroff ended with " + std::to_string(result.ExitCode));
}
