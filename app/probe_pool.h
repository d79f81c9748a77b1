#pragma once
// Probes media files on a few worker threads, each with a decoder of its own, while the thread that handed them
// in goes on (the user-interface thread keeps its window answering). The results are taken one by one in the
// order the files were handed in. Made, fed, read and destroyed on one thread, normally the user-interface one.
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/media_probe.h"
#include "media/decode/custom_decoder.h"

// The number of cores, at least 1 and at most 8: probing is mostly reading and parsing file headers.
int DefaultProbeThreads();

class TProbePool {
public:
    explicit TProbePool(int AMaxThreads = DefaultProbeThreads());
    // Files not started yet are dropped, the probes under way finish, and the threads are joined; on the main
    // thread the calls the workers hand to it (their log lines) keep running meanwhile.
    ~TProbePool();
    TProbePool(const TProbePool&) = delete;
    TProbePool& operator=(const TProbePool&) = delete;

    // Queues the files behind those already handed in; threads start as they are needed.
    void Add(const std::vector<std::string>& APaths);
    // How many files were handed in so far.
    size_t Count() const;
    // The result of file AIndex (in the order handed in) once it is probed; each result is taken once.
    // Every finished probe also queues an empty call for the main thread, which wakes its message loop.
    std::optional<TProbeResult> TakeIfReady(size_t AIndex);

private:
    void Work(TCustomDecoder& ADecoder);

    const int FMaxThreads;
    mutable std::mutex FLock;
    std::condition_variable FWorkArrived;
    std::vector<std::string> FPaths;
    std::vector<std::optional<TProbeResult>> FResults;
    size_t FNext = 0;  // the next file a worker takes
    size_t FBusy = 0;  // workers probing a file now
    bool FStopping = false;
    std::vector<std::unique_ptr<TCustomDecoder>> FDecoders;
    std::vector<std::thread> FThreads;
};
