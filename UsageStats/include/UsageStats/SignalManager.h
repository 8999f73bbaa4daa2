#pragma once

#include "UsageStats/ApplicationLifecycle.h"
#include "UsageStats/DefaultsSuite.h"
#include "UsageStats/HttpTransport.h"
#include "UsageStats/LifecycleObservers.h"
#include "UsageStats/Parameters.h"
#include "UsageStats/PlatformServices.h"
#include "UsageStats/SignalCache.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>

namespace UsageStats {

class SessionManager;
class UsageStatsConfiguration;

/// Turns signals into records, keeps them in the signal cache and uploads them in batches of at most 100
/// every 10 seconds. A failed batch goes back behind newer signals and pauses uploads for a growing time;
/// a batch refused as too large is retried in halves. The cache file is rewritten after every change.
/// Batches are taken and settled on the worker; their HTTP requests run on the upload queue, one at a time,
/// so a slow service never delays the recording of signals. Safe to call from any thread.
class SignalManager : public std::enable_shared_from_this<SignalManager> {
public:
    static constexpr std::chrono::milliseconds sendInterval{10'000};
    static constexpr std::chrono::seconds maximumRetryPause{600};

    /// Builds the manager, loads the cache (or adopts `handedOverCache`), observes will-terminate, tries
    /// one batch at once and starts the send timer.
    static std::shared_ptr<SignalManager> create(std::shared_ptr<UsageStatsConfiguration> configuration,
                                                 std::shared_ptr<SessionManager> sessionManager,
                                                 std::shared_ptr<SignalCache> handedOverCache = nullptr);
    ~SignalManager();
    SignalManager(const SignalManager&) = delete;
    SignalManager& operator=(const SignalManager&) = delete;

    /// Returns at once: the default user and default parameters are read on the main thread, the record is
    /// built and cached on the worker. A non-finite `floatValue` is dropped with a log line.
    void processSignal(std::string signalType, Parameters parameters, std::optional<double> floatValue,
                       std::optional<std::string> customUserID);

    /// Returns at once; on the worker, takes the next batch and starts its upload, unless an upload is in
    /// flight or uploads are paused after failures.
    void attemptToSendNextBatchOfCachedSignals();
    /// Abandons the upload in flight without waiting for it (its batch counts as not delivered), puts
    /// batches in flight back and saves the cache.
    void appWillTerminate();
    /// Stops the timer, the observer and uploads, abandons the upload in flight, puts batches in flight back
    /// and saves; returns the cache for the next manager. Signals still being processed keep landing in
    /// that cache.
    std::shared_ptr<SignalCache> stop();

    /// The configuration's `defaultUser`, else the one stored in the defaults suite, else a new one (stored).
    std::string defaultUserIdentifier();
    const std::shared_ptr<SignalCache>& cache() const { return signalCache_; }

private:
    SignalManager(std::shared_ptr<UsageStatsConfiguration> configuration,
                  std::shared_ptr<SessionManager> sessionManager,
                  std::shared_ptr<SignalCache> handedOverCache);

    void start();
    void buildAndCache(std::string signalType, Parameters parameters, Parameters defaultParameters,
                       std::optional<double> floatValue, std::optional<std::string> customUserID,
                       std::string defaultUser);
    struct UploadInFlight {
        std::uint64_t batchID = 0;
        std::stop_source cancellation;
    };

    void sendNextBatch();
    std::optional<std::pair<SignalCache::Batch, std::stop_token>> takeNextBatch();
    void send(SignalCache::Batch batch, std::stop_token cancellation);
    bool endUploadInFlight(std::uint64_t batchID);
    void abandonUploadInFlight();
    void settle(const SignalCache::Batch& batch, const HttpReply& reply);
    void markDelivered(const SignalCache::Batch& batch, const HttpReply& reply);
    void putBackAfterFailure(const SignalCache::Batch& batch);
    void retryInHalves(const SignalCache::Batch& batch);
    void scheduleSave();
    std::string uploadURL() const;

    const std::shared_ptr<UsageStatsConfiguration> configuration_;
    const std::shared_ptr<SessionManager> sessionManager_;
    const PlatformServices platform_;
    std::optional<DefaultsSuite> suite_;
    const std::shared_ptr<SignalCache> signalCache_;
    LifecycleObservers observers_;
    const std::shared_ptr<TaskQueue> uploads_;

    std::mutex mutex_;
    std::unique_ptr<RepeatingTimer> sendTimer_;
    int consecutiveFailures_ = 0;
    std::optional<MonotonicTime> uploadsPausedUntil_;
    std::size_t batchLimit_ = SignalCache::maximumNumberOfSignalsToPopAtOnce;
    bool saveScheduled_ = false;
    std::optional<UploadInFlight> uploadInFlight_;
    bool stopped_ = false;

    std::mutex defaultUserMutex_;
    /// Read from the suite, or made, once: stable for the manager's life even when the suite cannot hold it.
    std::optional<std::string> defaultUser_;
};

} // namespace UsageStats
