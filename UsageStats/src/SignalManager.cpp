#include "UsageStats/SignalManager.h"

#include "RandomUUID.h"
#include "UsageStats/DefaultSignalPayload.h"
#include "UsageStats/DefaultsSuite.h"
#include "UsageStats/EventLoopThread.h"
#include "UsageStats/SessionManager.h"
#include "UsageStats/UsageStatsConfiguration.h"
#include "UsageStats/UsageStatsError.h"
#include "UsageStats/UsageStatsHashing.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace UsageStats {
namespace {

std::string percentEncodedPathSegment(const std::string& text) {
    std::string encoded;
    for (const unsigned char character : text) {
        if (std::isalnum(character) || character == '-' || character == '.' || character == '_' ||
            character == '~') {
            encoded += static_cast<char>(character);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", character);
            encoded += escape;
        }
    }
    return encoded;
}

std::shared_ptr<SignalCache> makeCache(const UsageStatsConfiguration& configuration,
                                       const PlatformServices& platform,
                                       std::shared_ptr<SignalCache> handedOverCache) {
    const auto file = platform.cacheDirectory.empty() ? std::filesystem::path()
                                                      : platform.cacheDirectory / SignalCache::fileName;
    if (handedOverCache && handedOverCache->file() == file) {
        return handedOverCache;
    }
    // A design-time preview keeps the cache quiet; the manager still logs.
    auto logHandler = configuration.swiftUIPreviewMode() ? std::nullopt : configuration.logHandler();
    return std::make_shared<SignalCache>(file, std::move(logHandler));
}

} // namespace

std::shared_ptr<SignalManager> SignalManager::create(std::shared_ptr<UsageStatsConfiguration> configuration,
                                                     std::shared_ptr<SessionManager> sessionManager,
                                                     std::shared_ptr<SignalCache> handedOverCache) {
    std::shared_ptr<SignalManager> manager(
        new SignalManager(std::move(configuration), std::move(sessionManager), std::move(handedOverCache)));
    manager->start();
    return manager;
}

SignalManager::SignalManager(std::shared_ptr<UsageStatsConfiguration> configuration,
                             std::shared_ptr<SessionManager> sessionManager,
                             std::shared_ptr<SignalCache> handedOverCache)
    : configuration_(std::move(configuration))
    , sessionManager_(std::move(sessionManager))
    , platform_(configuration_->platformServices())
    , suite_(DefaultsSuite::open(*configuration_))
    , signalCache_(makeCache(*configuration_, platform_, std::move(handedOverCache)))
    , observers_(platform_.lifecycle)
    , uploads_(platform_.uploads ? platform_.uploads : std::make_shared<EventLoopThread>()) {}

// A manager let go without `stop` must not leave its upload thread waiting for the service.
SignalManager::~SignalManager() {
    std::lock_guard lock(mutex_);
    if (uploadInFlight_) {
        uploadInFlight_->cancellation.request_stop();
    }
}

void SignalManager::start() {
    observers_.add(LifecycleEvent::willTerminate, weak_from_this(), &SignalManager::appWillTerminate);
    std::weak_ptr<SignalManager> weakSelf = weak_from_this();
    auto timer = platform_.mainExecutor->scheduleRepeating(sendInterval, [weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->attemptToSendNextBatchOfCachedSignals();
        }
    });
    {
        std::lock_guard lock(mutex_);
        sendTimer_ = std::move(timer);
    }
    attemptToSendNextBatchOfCachedSignals();
}

void SignalManager::processSignal(std::string signalType, Parameters parameters,
                                  std::optional<double> floatValue, std::optional<std::string> customUserID) {
    if (floatValue && !std::isfinite(*floatValue)) {
        configuration_->log(LogLevel::error,
                            "Dropped the non-finite floatValue of signal '" + signalType + "'");
        floatValue.reset();
    }
    std::weak_ptr<SignalManager> weakSelf = weak_from_this();
    platform_.mainExecutor->post([weakSelf, signalType = std::move(signalType),
                                  parameters = std::move(parameters), floatValue,
                                  customUserID = std::move(customUserID)]() mutable {
        auto self = weakSelf.lock();
        if (!self) {
            return;
        }
        auto defaultUser = self->defaultUserIdentifier();
        auto defaultParameters =
            DefaultSignalPayload::parameters(*self->platform_.facts, self->platform_.clock->now());
        mergeOver(defaultParameters, self->sessionManager_->retentionParameters());
        self->platform_.worker->post(
            [weakSelf, signalType = std::move(signalType), parameters = std::move(parameters),
             defaultParameters = std::move(defaultParameters), floatValue,
             customUserID = std::move(customUserID), defaultUser = std::move(defaultUser)]() mutable {
                if (auto worker = weakSelf.lock()) {
                    worker->buildAndCache(std::move(signalType), std::move(parameters),
                                          std::move(defaultParameters), floatValue, std::move(customUserID),
                                          std::move(defaultUser));
                }
            });
    });
}

void SignalManager::buildAndCache(std::string signalType, Parameters parameters, Parameters defaultParameters,
                                  std::optional<double> floatValue, std::optional<std::string> customUserID,
                                  std::string defaultUser) {
    Parameters enriched;
    for (const auto& enricher : configuration_->metadataEnrichers()) {
        mergeOver(enriched, enricher->additionalParameters(signalType, customUserID, floatValue));
    }
    Parameters payload = std::move(defaultParameters);
    mergeOver(payload, enriched);
    mergeOver(payload, parameters);

    SignalPostBody signal{
        platform_.clock->now(),
        configuration_->usageStatsAppID(),
        UsageStatsHashing::sha256(customUserID.value_or(defaultUser), configuration_->salt()),
        configuration_->sessionID(),
        std::move(signalType),
        floatValue,
        std::move(payload),
        configuration_->testMode() ? "true" : "false"};
    if (accepts(configuration_->logHandler(), LogLevel::debug)) {
        configuration_->log(LogLevel::debug, "Process signal: " + signal.description());
    }
    signalCache_->add(std::move(signal));
    scheduleSave();
}

void SignalManager::attemptToSendNextBatchOfCachedSignals() {
    std::weak_ptr<SignalManager> weakSelf = weak_from_this();
    platform_.worker->post([weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->sendNextBatch();
        }
    });
}

void SignalManager::sendNextBatch() {
    configuration_->log(LogLevel::debug,
                        "Current signal cache count: " + std::to_string(signalCache_->count()));
    auto taken = takeNextBatch();
    if (!taken) {
        return;
    }
    auto& [batch, cancellation] = *taken;
    configuration_->log(LogLevel::info, "Sending " + std::to_string(batch.signals.size()) +
                                            " signals leaving a cache of " +
                                            std::to_string(signalCache_->count()) + " signals");
    send(std::move(batch), std::move(cancellation));
}

// Taking the batch and recording its upload under one lock means quitting either finds the upload and
// takes its batch back, or keeps it from starting.
std::optional<std::pair<SignalCache::Batch, std::stop_token>> SignalManager::takeNextBatch() {
    std::lock_guard lock(mutex_);
    const bool paused = uploadsPausedUntil_ && platform_.clock->monotonicNow() < *uploadsPausedUntil_;
    if (stopped_ || uploadInFlight_ || paused) {
        return std::nullopt;
    }
    auto batch = signalCache_->popBatch(batchLimit_);
    if (batch.signals.empty()) {
        return std::nullopt;
    }
    uploadInFlight_.emplace(UploadInFlight{batch.id, {}});
    return std::pair{std::move(batch), uploadInFlight_->cancellation.get_token()};
}

std::string SignalManager::uploadURL() const {
    std::string base = configuration_->apiBaseURL();
    while (!base.empty() && base.back() == '/') {
        base.pop_back();
    }
    const auto& namespaceName = configuration_->namespaceName();
    if (namespaceName && !namespaceName->empty()) {
        return base + "/v2/namespace/" + percentEncodedPathSegment(*namespaceName) + "/";
    }
    return base + "/v2/";
}

void SignalManager::send(SignalCache::Batch batch, std::stop_token cancellation) {
    HttpRequest request{
        uploadURL(), {{"Content-Type", "application/json"}}, encodeSignalsForUpload(batch.signals)};
    request.stopToken = std::move(cancellation);
    if (accepts(configuration_->logHandler(), LogLevel::debug)) {
        configuration_->log(LogLevel::debug, request.body);
    }
    // The request holds neither the manager nor the worker, so that neither has to wait for a slow service.
    std::weak_ptr<SignalManager> weakSelf = weak_from_this();
    std::weak_ptr<TaskQueue> weakWorker = platform_.worker;
    uploads_->post([transport = configuration_->httpTransport(), request = std::move(request),
                    batch = std::move(batch), weakSelf, weakWorker]() mutable {
        auto reply = transport->post(request);
        if (auto worker = weakWorker.lock()) {
            worker->post([weakSelf, batch = std::move(batch), reply = std::move(reply)] {
                if (auto self = weakSelf.lock()) {
                    self->settle(batch, reply);
                }
            });
        }
    });
}

void SignalManager::settle(const SignalCache::Batch& batch, const HttpReply& reply) {
    if (!endUploadInFlight(batch.id)) {
        return; // abandoned when the application quit; its batch is back in the cache
    }
    if (reply.transportError || !reply.statusCode) {
        configuration_->log(LogLevel::error, reply.transportError.value_or(
                                                 "Upload ended with neither a response nor an error"));
        putBackAfterFailure(batch);
        return;
    }
    const auto refusal = UsageStatsError::fromStatusCode(*reply.statusCode);
    if (!refusal) {
        markDelivered(batch, reply);
        return;
    }
    configuration_->log(LogLevel::error, refusal->description());
    if (refusal->kind() == UsageStatsError::Kind::payloadTooLarge) {
        retryInHalves(batch);
    } else {
        putBackAfterFailure(batch);
    }
}

bool SignalManager::endUploadInFlight(std::uint64_t batchID) {
    std::lock_guard lock(mutex_);
    if (!uploadInFlight_ || uploadInFlight_->batchID != batchID) {
        return false;
    }
    uploadInFlight_.reset();
    return true;
}

// Not waiting for the service keeps quitting quick; a batch it did receive may come again next time.
void SignalManager::abandonUploadInFlight() {
    std::lock_guard lock(mutex_);
    if (uploadInFlight_) {
        uploadInFlight_->cancellation.request_stop();
        uploadInFlight_.reset();
    }
    signalCache_->returnBatchesInFlight();
}

void SignalManager::markDelivered(const SignalCache::Batch& batch, const HttpReply& reply) {
    signalCache_->completeBatch(batch.id);
    {
        std::lock_guard lock(mutex_);
        consecutiveFailures_ = 0;
        uploadsPausedUntil_.reset();
        batchLimit_ = SignalCache::maximumNumberOfSignalsToPopAtOnce;
    }
    if (!reply.body.empty() && accepts(configuration_->logHandler(), LogLevel::debug)) {
        configuration_->log(LogLevel::debug, reply.body);
    }
    scheduleSave();
}

void SignalManager::putBackAfterFailure(const SignalCache::Batch& batch) {
    signalCache_->returnBatchToEnd(batch.id);
    {
        std::lock_guard lock(mutex_);
        consecutiveFailures_ = std::min(consecutiveFailures_ + 1, 16);
        // 20 s, 40 s, 80 s ... up to 10 minutes between attempts while the service keeps failing.
        const auto pause = std::min<std::chrono::milliseconds>(sendInterval * (1LL << consecutiveFailures_),
                                                               maximumRetryPause);
        uploadsPausedUntil_ = platform_.clock->monotonicNow() + pause;
    }
    scheduleSave();
}

// The same signals go first again, in halves, until the service takes them; one signal it refuses on its
// own can never be delivered.
void SignalManager::retryInHalves(const SignalCache::Batch& batch) {
    if (batch.signals.size() > 1) {
        {
            std::lock_guard lock(mutex_);
            batchLimit_ = batch.signals.size() / 2;
        }
        signalCache_->returnBatchToFront(batch.id);
    } else {
        configuration_->log(LogLevel::error, "Dropped signal '" + batch.signals.front().type +
                                                 "': the service refuses it as too large");
        signalCache_->completeBatch(batch.id);
    }
    scheduleSave();
}

void SignalManager::scheduleSave() {
    {
        std::lock_guard lock(mutex_);
        if (saveScheduled_) {
            return;
        }
        saveScheduled_ = true;
    }
    std::weak_ptr<SignalManager> weakSelf = weak_from_this();
    platform_.worker->post([weakSelf] {
        if (auto self = weakSelf.lock()) {
            {
                std::lock_guard lock(self->mutex_);
                self->saveScheduled_ = false;
            }
            self->signalCache_->save();
        }
    });
}

void SignalManager::appWillTerminate() {
    configuration_->log(LogLevel::debug, "appWillTerminate()");
    abandonUploadInFlight();
    signalCache_->save(LogLevel::info);
}

std::shared_ptr<SignalCache> SignalManager::stop() {
    {
        std::lock_guard lock(mutex_);
        sendTimer_.reset();
        stopped_ = true;
    }
    observers_.removeAll();
    abandonUploadInFlight();
    signalCache_->save(LogLevel::info);
    return signalCache_;
}

std::string SignalManager::defaultUserIdentifier() {
    if (auto user = configuration_->defaultUser()) {
        return *user;
    }
    std::lock_guard lock(defaultUserMutex_);
    if (!defaultUser_ && suite_) {
        defaultUser_ = suite_->string("defaultUserIdentifier");
    }
    if (!defaultUser_) {
        defaultUser_ = makeRandomUUID();
        if (suite_ && !suite_->setString("defaultUserIdentifier", *defaultUser_)) {
            configuration_->log(LogLevel::error, "Could not store the default user identifier");
        }
    }
    return *defaultUser_;
}

} // namespace UsageStats
