#pragma once
// The one process-wide logger. It takes FFmpeg's log output (through the library's log callback) and the engine's
// own reports, and hands complete lines to OnLog, by default on the main thread.
#include <atomic>
#include <cstdarg>
#include <functional>
#include <string>

#include "media/base/base_component.h"
#include "platform/rtl/types.h"

enum TLogLevel { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

struct TLogInfo {
    TObject* Sender = nullptr;
    Cardinal ThreadID = 0;
    TLogLevel LogLevel = llQuiet;
    std::string LogMsg;
};

using TLogEvent =
    std::function<void(TObject* Sender, Cardinal AThreadID, TLogLevel ALogLevel, const std::string& ALogMsg)>;

// FFmpeg's numeric levels: quiet -8, panic 0, fatal 8, error 16, warning 24, info 32, verbose 40, debug 48.
int LogLevelToAV(TLogLevel ALevel);
TLogLevel AVLevelToLogLevel(int AAVLevel);

class TFFLogger : public TFFBaseComponent {
public:
    // Replaces a logger the engine made on its own; a second logger of the application is misuse
    // (EInvalidOperation "Allow creating only one instance of TFFLogger.").
    explicit TFFLogger(TComponent* AOwner);
    ~TFFLogger() override;

    // Any thread. Delivers when OnLog is set and ALogLevel <= LogLevel, or ALogLevel is llVerbose and LogLevel is
    // above llQuiet.
    void Log(TObject* Sender, TLogLevel ALogLevel, const std::string& ALogMsg);
    template <typename... TArgs>
        requires(sizeof...(TArgs) > 0)
    void Log(TObject* Sender, TLogLevel ALogLevel, const char* AFormat, TArgs... AArgs)
    {
        Log(Sender, ALogLevel, FormatLogText(AFormat, AArgs...));
    }
    // Any thread: one line assembled by the library hook, already filtered by level.
    void LogAVLine(Cardinal AThreadID, int AAVLevel, const std::string& ALine);

    // Points the library's log callback at the engine's hook and applies LogLevel (avutil must be bound).
    void InstallAVLogCallback();
    void ApplyLogLevel();
    // "quiet" .. "debug" (any case) or a decimal FFmpeg level; other text raises EConvertError.
    void OptLogLevel(const std::string& AArg);

    TLogLevel LogLevel() const { return FLogLevel.load(); }
    void SetLogLevel(TLogLevel AValue);
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }
    bool AutoCreated() const { return FAutoCreated; }

    TLogEvent OnLog;

private:
    friend TFFLogger* LoggerInstance();
    static std::string FormatLogText(const char* AFormat, ...) __attribute__((format(printf, 1, 2)));
    void Deliver(TLogInfo AInfo);

    bool FAutoCreated = false;
    // Read by every logging thread.
    std::atomic<bool> FTriggerEventInMainThread{true};
    std::atomic<TLogLevel> FLogLevel{llInfo};
};

// The logger; made on demand (without OnLog, so it delivers nothing) when the application has none.
TFFLogger* LoggerInstance();

// The hook given to av_log_set_callback. Any thread.
void FFLogHook(void* AContext, int ALevel, const char* AFormat, va_list AArgs);

// Engine shut-down: forgets partial lines and the repeat state, frees an auto-created logger.
void ShutdownLogger();
