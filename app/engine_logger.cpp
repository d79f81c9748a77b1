#include "app/engine_logger.h"

TFFLogger* CreateHistoryLogger(TComponent* AOwner, TLogHistory& AHistory)
{
    auto* logger = new TFFLogger(AOwner);
    logger->OnLog = [&AHistory](TObject*, Cardinal AThreadID, TLogLevel ALevel, const std::string& AMessage) {
        AHistory.AddLoggerLine(AThreadID, static_cast<int>(ALevel), AMessage);
    };
    return logger;
}
