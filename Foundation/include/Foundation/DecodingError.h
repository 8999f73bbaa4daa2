#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace Foundation {

/// A failure to decode a keyed representation (JSON or property list) into a model.
/// Carries what went wrong and the path to the offending member, keys and list positions
/// ("data", "Index 0", "attributes", "playParams", "kind").
class DecodingError : public std::runtime_error {
public:
    enum class Kind { keyNotFound, valueNotFound, typeMismatch, dataCorrupted };

    DecodingError(Kind kind, std::vector<std::string> codingPath, std::string debugDescription);

    Kind kind() const { return kind_; }
    const std::vector<std::string>& codingPath() const { return codingPath_; }
    const std::string& debugDescription() const { return debugDescription_; }

    static std::string indexKey(std::size_t index) { return "Index " + std::to_string(index); }

private:
    Kind kind_;
    std::vector<std::string> codingPath_;
    std::string debugDescription_;
};

} // namespace Foundation
