#include "media/log/ff_logger.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "media/loader/av_bindings.h"
#include "media/util/media_utils.h"
#include "media/util/text_format.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/threads.h"

namespace {

// The level the hook filters with; follows the application logger's LogLevel.
std::atomic<int> CurrentAVLevel{AV_LOG_INFO};

// Guards the singleton reference.
std::recursive_mutex SingletonLock;
TFFLogger* Singleton = nullptr;

// Guards the line assembly of the hook; never held while a line is delivered.
std::mutex LogLock;
std::unordered_map<Cardinal, std::string> PartialLines;
std::string PreviousText;
int RepeatCount = 0;

// AVClass versions from 50.15.3 on carry the parent-context offset.
constexpr int ParentOffsetVersion = 3280642;

const char* ItemName(void* AContext)
{
    const AVClass* cls = *static_cast<const AVClass* const*>(AContext);
    if (cls->item_name) return cls->item_name(AContext);
    return cls->class_name ? cls->class_name : "";
}

std::string ContextPrefix(void* AContext)
{
    std::string prefix;
    const AVClass* cls = *static_cast<const AVClass* const*>(AContext);
    if (cls == nullptr) return prefix;
    if (cls->version > ParentOffsetVersion && cls->parent_log_context_offset != 0) {
        void* parent = *reinterpret_cast<void**>(static_cast<char*>(AContext) + cls->parent_log_context_offset);
        if (parent != nullptr && *static_cast<const AVClass* const*>(parent) != nullptr)
            prefix = StrFormat("[%s @ %p] ", ItemName(parent), parent);
    }
    return prefix + StrFormat("[%s @ %p]", ItemName(AContext), AContext);
}

}  // namespace

int LogLevelToAV(TLogLevel ALevel) { return static_cast<int>(ALevel) * 8 - 8; }

TLogLevel AVLevelToLogLevel(int AAVLevel)
{
    int level = AAVLevel / 8 + 1;
    if (level < llQuiet) level = llQuiet;
    if (level > llDebug) level = llDebug;
    return static_cast<TLogLevel>(level);
}

TFFLogger::TFFLogger(TComponent* AOwner) : TFFBaseComponent(AOwner)
{
    std::lock_guard guard(SingletonLock);
    if (Singleton != nullptr && Singleton->FAutoCreated) {
        delete Singleton;
        Singleton = nullptr;
    }
    if (Singleton != nullptr) throw EInvalidOperation("Allow creating only one instance of TFFLogger.");
    FLogLevel = AVLevelToLogLevel(CurrentAVLevel);
    Singleton = this;
}

TFFLogger::~TFFLogger()
{
    std::lock_guard guard(SingletonLock);
    if (Singleton == this) Singleton = nullptr;
}

TFFLogger* LoggerInstance()
{
    std::lock_guard guard(SingletonLock);
    if (Singleton == nullptr) {
        auto* logger = new TFFLogger(nullptr);
        logger->FAutoCreated = true;
    }
    return Singleton;
}

std::string TFFLogger::FormatLogText(const char* AFormat, ...)
{
    va_list args;
    va_start(args, AFormat);
    std::string text = StrFormatV(AFormat, args);
    va_end(args);
    return text;
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, const std::string& ALogMsg)
{
    if (!OnLog) return;
    if (ALogLevel <= FLogLevel || (ALogLevel == llVerbose && FLogLevel > llQuiet))
        Deliver({Sender, win::GetCurrentThreadId(), ALogLevel, ALogMsg});
}

void TFFLogger::LogAVLine(Cardinal AThreadID, int AAVLevel, const std::string& ALine)
{
    if (OnLog) Deliver({this, AThreadID, AVLevelToLogLevel(AAVLevel), ALine});
}

void TFFLogger::Deliver(TLogInfo AInfo)
{
    // Each delivery carries its own copy of the line and of the handler: several threads may be waiting for the
    // main thread at once, and the handler must not depend on this logger still being there when it runs.
    auto do_log = [handler = OnLog, info = std::move(AInfo)] {
        handler(info.Sender, info.ThreadID, info.LogLevel, info.LogMsg);
    };
    if (FTriggerEventInMainThread)
        CallInMainThread(do_log);
    else
        do_log();
}

void TFFLogger::InstallAVLogCallback()
{
    if (ff::av_log_set_callback == nullptr || ff::av_log_set_level == nullptr)
        throw EInvalidOperation("the log functions of avutil are not bound");
    ff::av_log_set_callback(FFLogHook);
    ApplyLogLevel();
}

void TFFLogger::ApplyLogLevel()
{
    CurrentAVLevel = LogLevelToAV(FLogLevel.load());
    if (ff::av_log_set_level != nullptr) ff::av_log_set_level(CurrentAVLevel);
}

void TFFLogger::SetLogLevel(TLogLevel AValue)
{
    if (AValue == FLogLevel) return;
    FLogLevel = AValue;
    ApplyLogLevel();
}

void TFFLogger::OptLogLevel(const std::string& AArg)
{
    static const char* const names[] = {"quiet", "panic", "fatal", "error", "warning", "info", "verbose", "debug"};
    const std::string lowered = LowerCase(AArg);
    for (int i = 0; i <= llDebug; ++i)
        if (lowered == names[i]) return SetLogLevel(static_cast<TLogLevel>(i));
    const Integer value = StrToInt(AArg);  // raises EConvertError for a text that is no number
    SetLogLevel(AVLevelToLogLevel(static_cast<int>(value)));
}

void FFLogHook(void* AContext, int ALevel, const char* AFormat, va_list AArgs)
{
    if (ALevel > CurrentAVLevel) return;
    const Cardinal thread_id = win::GetCurrentThreadId();
    std::vector<std::string> lines;
    {
        std::lock_guard guard(LogLock);
        std::string& partial = PartialLines[thread_id];
        // A prefix only starts a line: the continuation of a line never repeats it.
        std::string text = AContext != nullptr && partial.empty() ? ContextPrefix(AContext) : std::string();
        text += StrFormatV(AFormat, AArgs);
        // Only a text that is a whole line by itself can repeat the previous one: the tail of a line another
        // thread began must never be swallowed, or that thread's line would be merged with its next one.
        const bool whole_line = partial.empty() && !text.empty() && text.back() == '\n';
        if (whole_line && text == PreviousText) {
            ++RepeatCount;
        } else {
            if (RepeatCount > 0) {
                lines.push_back(StrFormat("    Last message repeated %d times", RepeatCount));
                RepeatCount = 0;
            }
            PreviousText = text;
            partial += text;
            for (size_t end; (end = partial.find('\n')) != std::string::npos;) {
                lines.push_back(partial.substr(0, end));
                partial.erase(0, end + 1);
            }
        }
        if (partial.empty()) PartialLines.erase(thread_id);
    }
    // Delivered outside the lock: a delivery may wait for the main thread, which may itself be logging.
    if (lines.empty()) return;
    TFFLogger* logger = LoggerInstance();
    for (const std::string& line : lines) logger->LogAVLine(thread_id, ALevel, line);
}

void ShutdownLogger()
{
    {
        std::lock_guard guard(LogLock);
        PartialLines.clear();
        PreviousText.clear();
        RepeatCount = 0;
    }
    std::lock_guard guard(SingletonLock);
    if (Singleton != nullptr && Singleton->AutoCreated()) delete Singleton;
}
