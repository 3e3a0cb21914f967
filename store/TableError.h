// The table engine's error: a message a user can read (UTF-8, as every message of the program
// is), shown by the window that catches it.
#pragma once

#include <stdexcept>
#include <string>

namespace store {

class TableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A filter expression that does not parse; the data set keeps its previous filter.
class FilterError : public TableError {
public:
    using TableError::TableError;
};

}  // namespace store
