// Structured exceptions raised by the process-wide failure handlers the library installs
// when it loads.
#pragma once

#include <cstdint>

constexpr uint32_t SignalExceptionCode = 0x6F8E1DC8;  // one argument: the signal number
constexpr uint32_t PureVirtualExceptionCode = 0xF6538887;
constexpr uint32_t InvalidParameterExceptionCode = 0xD142B808;
