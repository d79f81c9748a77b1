#include "app/conversion_ffencoder.h"

#include "media/util/media_utils.h"
#include "platform/rtl/main_thread_queue.h"

TEncoderConversionLink::TEncoderConversionLink(TCustomEncoder& AEncoder) : FEncoder(AEncoder)
{
    // The encoder hands progress to the user-interface thread itself.
    FEncoder.SetTriggerEventInMainThread(true);
    FEncoder.OnProgress = [this](TObject*, PProgressInfo AInfo) {
        if (OnProgress) OnProgress({AInfo->TaskIndex, AInfo->CurrentDuration, AInfo->TotalDuration});
    };
    // Termination events arrive on the encoder's delivery thread; what the run does with them (the dialog, the
    // events log, the error report, the shell) belongs to the user-interface thread.
    FEncoder.OnTerminate = [this](TObject*, const TTerminateInfo& AInfo) {
        const TConversionTaskEnd end{AInfo.TaskIndex, AInfo.Finished, AInfo.Exception, AInfo.ExceptionMsg};
        CallInMainThread([this, &end] {
            if (OnTerminate) OnTerminate(end);
        });
    };
}

TEncoderConversionLink::~TEncoderConversionLink()
{
    FEncoder.OnProgress = nullptr;
    FEncoder.OnTerminate = nullptr;
}

int TEncoderConversionLink::AddTask(const std::string& AFileName, TInputOptions* AOptions)
{
    return FEncoder.AddTask(AFileName, AOptions);
}

bool TEncoderConversionLink::AddInputFile(int ATaskIndex, const std::string& AFileName, TInputOptions* AOptions)
{
    return FEncoder.AddInputFile(ATaskIndex, AFileName, AOptions);
}

bool TEncoderConversionLink::SetOutputFile(int ATaskIndex, const std::string& AFileName, TOutputOptions* AOptions)
{
    return FEncoder.SetOutputFile(ATaskIndex, AFileName, AOptions);
}

void TEncoderConversionLink::Stop()
{
    FEncoder.Stop(true);
}
