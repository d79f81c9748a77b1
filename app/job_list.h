#pragma once
// The job list: the jobs in the order the grid shows them, the selected row and the list commands, with every
// job's size estimate kept current. Rows are counted as the grid counts them: row 0 is the caption row and row r
// shows job r - 1. User-interface thread only.
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/video_file.h"
#include "platform/rtl/object.h"

class TJobList : public TObject {
public:
    // The estimates read the formats of this catalogue, which outlives the list.
    explicit TJobList(const TCatalogue& ACatalogue);

    const std::vector<TVideoFile>& Jobs() const { return FJobs; }
    int Count() const { return static_cast<int>(FJobs.size()); }
    // Raises EListError for an index outside the list.
    TVideoFile& Job(int AIndex);

    // The selected row. While jobs exist it always names one of them (1..Count), so that no command can reach
    // for the job of the caption row; it is 0 only while the list is empty. SetRow keeps it in that range.
    int Row() const { return FRow; }
    void SetRow(int ARow);
    // The job of the selected row, nullptr while the list is empty.
    TVideoFile* SelectedJob();

    // Appends a job and estimates its size; the first job of an empty list becomes the selected one.
    void Append(const TVideoFile& AJob);
    // Recomputes a job's estimate from its format; a job whose pair names no format keeps its estimate, and an
    // index outside the list is ignored: estimating never fails.
    void EstimateOutputSize(int AIndex);
    void EstimateAll();
    // Exchanges two jobs whole. Raises EListError for an index outside the list.
    void ExchangeJobs(int A, int B);

    // The list commands. Each tells OnChange when the grid has to be repainted.
    void MoveUp();
    void MoveDown();
    // Removes the selected job; the others keep their order and the row stays where it was, or moves up to the
    // new last row.
    void Remove();
    void ClearAll();
    // Every job takes the pair as its preset and is estimated again.
    void ApplyToAll(TFormatIndex APair);

    // While a conversion runs its tasks and its dialog read the jobs by index: the commands that add, move,
    // remove or re-preset jobs then raise EInvalidOperation instead.
    bool Locked() const { return FLocked; }
    void SetLocked(bool AValue) { FLocked = AValue; }

    TNotifyEvent OnChange;

private:
    void Changed();
    void CheckIndex(int AIndex) const;
    void CheckUnlocked() const;

    const TCatalogue& FCatalogue;
    std::vector<TVideoFile> FJobs;
    int FRow = 0;
    bool FLocked = false;
};
