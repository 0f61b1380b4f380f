#include "isolation/LockDownState.h"

namespace velk::LockDownState {

namespace {
Record recorded;
} // namespace

const Record& current()
{
    return recorded;
}

void store(const Record& record)
{
    recorded = record;
}

} // namespace velk::LockDownState
