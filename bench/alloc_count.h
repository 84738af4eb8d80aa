// Heap allocations made through the global operator new since the program
// started. The bench replaces operator new, and the dlopened plug-in binds
// to this program's definition, so its allocations count too.
#pragma once
#include <cstdint>

uint64_t AllocationCount();
