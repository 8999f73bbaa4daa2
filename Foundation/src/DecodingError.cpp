#include "Foundation/DecodingError.h"

namespace Foundation {
namespace {

const char* kindName(DecodingError::Kind kind) {
    switch (kind) {
    case DecodingError::Kind::keyNotFound:
        return "keyNotFound";
    case DecodingError::Kind::valueNotFound:
        return "valueNotFound";
    case DecodingError::Kind::typeMismatch:
        return "typeMismatch";
    case DecodingError::Kind::dataCorrupted:
        return "dataCorrupted";
    }
    return "dataCorrupted";
}

std::string describe(DecodingError::Kind kind, const std::vector<std::string>& path,
                     const std::string& detail) {
    std::string text = kindName(kind);
    text += " at \"";
    for (std::size_t i = 0; i < path.size(); ++i) {
        text += (i == 0 ? "" : ".") + path[i];
    }
    return text + "\": " + detail;
}

} // namespace

DecodingError::DecodingError(Kind kind, std::vector<std::string> codingPath, std::string debugDescription)
    : std::runtime_error(describe(kind, codingPath, debugDescription))
    , kind_(kind)
    , codingPath_(std::move(codingPath))
    , debugDescription_(std::move(debugDescription)) {}

} // namespace Foundation
