#pragma once

#include <UsageStats/Parameters.h>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace Marrowbell::Testing {

/// A signal as the application sent it: its type and its own parameters, without the client's defaults.
struct RecordedSignal {
    std::string type;
    UsageStats::Parameters parameters;

    bool operator==(const RecordedSignal&) const = default;
};

inline void PrintTo(const RecordedSignal& signal, std::ostream* out) {
    *out << signal.type;
    for (const auto& [name, value] : signal.parameters) {
        *out << ' ' << name << '=' << value;
    }
}

/// Starts the real usage-statistics client with a main thread that never runs its repeating timers, so
/// nothing is ever uploaded and every signal stays in the client's cache, where it is read back.
/// One per test program, made when the tests start.
class RecordedSignals {
public:
    RecordedSignals();
    ~RecordedSignals();
    RecordedSignals(const RecordedSignals&) = delete;
    RecordedSignals& operator=(const RecordedSignals&) = delete;

    /// The application's signals sent since the previous call, in order, once every one of them has been
    /// recorded (waits up to 10 s). The client's own signals are left out, except error reports.
    std::vector<RecordedSignal> takeSent();

private:
    std::size_t consumed_ = 0;
    int marks_ = 0;
};

/// The test program's one recorder, there while the tests run.
extern RecordedSignals* recordedSignals;

} // namespace Marrowbell::Testing
