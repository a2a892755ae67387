#pragma once

#include <stdexcept>
#include <string>

namespace tq {

// Base of every failure the system raises. The message is the French text
// shown to the operator, held in UTF-8 (what() returns it unchanged).
class Erreur : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tq
