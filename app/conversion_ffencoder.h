#pragma once
// The media engine's encoder as a conversion run drives it: tasks run one after another, each on a worker thread
// of its own, and both events reach the user-interface thread (the reporting thread waits until the handler ran).
#include "app/conversion_encoder.h"
#include "media/encoder/encoder.h"

class TEncoderConversionLink final : public TConversionEncoder {
public:
    // Takes over the encoder's progress and termination events for as long as the link lives.
    explicit TEncoderConversionLink(TCustomEncoder& AEncoder);
    ~TEncoderConversionLink() override;
    TEncoderConversionLink(const TEncoderConversionLink&) = delete;
    TEncoderConversionLink& operator=(const TEncoderConversionLink&) = delete;

    void ClearTasks() override { FEncoder.ClearTasks(); }
    int AddTask(const std::string& AFileName, TInputOptions* AOptions) override;
    bool AddInputFile(int ATaskIndex, const std::string& AFileName, TInputOptions* AOptions) override;
    bool SetOutputFile(int ATaskIndex, const std::string& AFileName, TOutputOptions* AOptions) override;
    int TasksCount() const override { return FEncoder.TasksCount(); }
    std::string LastErrMsg() const override { return FEncoder.LastErrMsg(); }

    void Start() override { FEncoder.Start(1); }
    void Pause() override { FEncoder.Pause(); }
    void Resume() override { FEncoder.Resume(); }
    void Stop() override;

private:
    TCustomEncoder& FEncoder;
};
