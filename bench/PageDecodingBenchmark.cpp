// Measures decoding one 100-song library page, the unit of work a sync repeats 1,000 times for a
// 100,000-song library: marrowbell-bench-page-decoding [--rounds N]

#include "BenchmarkTiming.h"
#include "Remote/RemoteSong.h"

#include <DemoService/DemoService.h>
#include <MusicKit/MusicDataRequest.h>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

namespace {

template <class Work> void measure(const char* label, int rounds, Work&& work) {
    std::size_t checksum = 0;
    const auto start = Benchmark::Clock::now();
    for (int round = 0; round < rounds; ++round) {
        checksum += work();
    }
    const double seconds = Benchmark::secondsSince(start);
    std::printf("%-52s %8.3f ms per page (%zu items)\n", label, seconds * 1000.0 / rounds, checksum / rounds);
}

std::string songPage(const DemoService::DemoService& service) {
    const auto url = Foundation::URL::fromString(service.baseURL() +
                                                 "/v1/me/library/songs?limit=100&offset=0&sort=-dateAdded"
                                                 "&include=artists,albums");
    return MusicKit::MusicDataRequest(MusicKit::URLRequest(*url)).response().data;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc == 3 && std::string(argv[1]) == "--rounds" ? std::atoi(argv[2]) : 2000;
    DemoService::DemoService service({1000, 1});
    service.start();
    MusicKit::ServiceConfiguration::setCurrent(service.configuration());
    const std::string body = songPage(service);
    std::printf("page of 100 songs: %zu bytes\n", body.size());

    measure("simdjson, decoded into RemoteSongResponse", rounds,
            [&] { return MarrowbellCore::RemoteSongResponse::decode(body).data.size(); });
    measure("nlohmann-json, parsed only (a lower bound)", rounds,
            [&] { return nlohmann::json::parse(body)["data"].size(); });
    return 0;
}
