#include "app/job_list.h"

#include <algorithm>
#include <utility>

#include "platform/rtl/exceptions.h"

TJobList::TJobList(const TCatalogue& ACatalogue) : FCatalogue(ACatalogue) {}

TVideoFile& TJobList::Job(int AIndex)
{
    CheckIndex(AIndex);
    return FJobs[AIndex];
}

void TJobList::SetRow(int ARow) { FRow = FJobs.empty() ? 0 : std::clamp(ARow, 1, Count()); }

TVideoFile* TJobList::SelectedJob() { return FJobs.empty() ? nullptr : &FJobs[FRow - 1]; }

void TJobList::Append(const TVideoFile& AJob)
{
    CheckUnlocked();
    FJobs.push_back(AJob);
    EstimateOutputSize(Count() - 1);
    SetRow(FRow);
    Changed();
}

void TJobList::EstimateOutputSize(int AIndex)
{
    if (AIndex < 0 || AIndex >= Count())
        return;
    TVideoFile& job = FJobs[AIndex];
    ::EstimateOutputSize(job, FCatalogue.FindFormat({job.ProfileInd, job.FormatInd}));
}

void TJobList::EstimateAll()
{
    for (int i = 0; i < Count(); ++i)
        EstimateOutputSize(i);
}

void TJobList::ExchangeJobs(int A, int B)
{
    CheckUnlocked();
    CheckIndex(A);
    CheckIndex(B);
    std::swap(FJobs[A], FJobs[B]);
}

void TJobList::MoveUp()
{
    CheckUnlocked();
    if (Count() < 2)
        return;
    if (FRow > 1) {
        ExchangeJobs(FRow - 2, FRow - 1);
        --FRow;
    }
    Changed();
}

void TJobList::MoveDown()
{
    CheckUnlocked();
    if (Count() < 2)
        return;
    if (FRow < Count()) {
        ExchangeJobs(FRow - 1, FRow);
        ++FRow;
    }
    Changed();
}

void TJobList::Remove()
{
    CheckUnlocked();
    if (FJobs.empty())
        return;
    if (Count() == 1) {
        ClearAll();
        return;
    }
    FJobs.erase(FJobs.begin() + (FRow - 1));
    SetRow(FRow);
    Changed();
}

void TJobList::ClearAll()
{
    CheckUnlocked();
    FJobs.clear();
    FRow = 0;
    Changed();
}

void TJobList::ApplyToAll(TFormatIndex APair)
{
    CheckUnlocked();
    for (TVideoFile& job : FJobs) {
        job.ProfileInd = APair.Profile;
        job.FormatInd = APair.Format;
    }
    EstimateAll();
    Changed();
}

void TJobList::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TJobList::CheckIndex(int AIndex) const
{
    if (AIndex < 0 || AIndex >= Count())
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
}

void TJobList::CheckUnlocked() const
{
    if (FLocked)
        throw EInvalidOperation("Cannot change the job list while converting.");
}
