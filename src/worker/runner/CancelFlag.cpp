#include "worker/runner/CancelFlag.h"

namespace velk {

CancelCheck cancelCheckFor(CancelFlag flag)
{
    return [flag = std::move(flag)] { return flag && flag->load(); };
}

} // namespace velk
