#include "IsolationSelfCheck.h"

namespace velk {

bool IsolationSelfCheck::passes()
{
    return false;
}

void IsolationSelfCheck::lockDownProcess() {}

} // namespace velk
