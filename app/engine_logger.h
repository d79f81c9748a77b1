#pragma once
// The media engine's logger as the converter makes it: every line the engine and FFmpeg log goes into the logger
// history, which the error report mails.
#include "app/events_log.h"
#include "media/log/ff_logger.h"

// Made once, on the user-interface thread, after the media engine has started; the history must outlive the
// logger, which AOwner frees. Lines logged on other threads reach the history on the user-interface thread.
TFFLogger* CreateHistoryLogger(TComponent* AOwner, TLogHistory& AHistory);
