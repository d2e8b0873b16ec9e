#pragma once
// The assembler name of this test program's import slot for a system function.
// mingw keeps the slots writable, so a test can swap one to count or fail the
// product's calls. 32-bit names carry the stdcall decoration (a leading
// underscore and "@" with the arguments' bytes); 64-bit names carry none.
#if defined(__i386__)
#define IMPORT_SLOT(function, argument_bytes) "__imp__" #function "@" #argument_bytes
#else
#define IMPORT_SLOT(function, argument_bytes) "__imp_" #function
#endif

#include <type_traits>
#include <utility>

// Points an import slot at a stand-in for the guard's life; the slot gets back
// what it held when the guard goes.
template <typename Function>
class SlotSwap {
public:
    SlotSwap(Function& slot, std::type_identity_t<Function> stand_in)
        : slot_(slot), held_(std::exchange(slot, stand_in))
    {
    }
    ~SlotSwap() { slot_ = held_; }
    SlotSwap(const SlotSwap&) = delete;
    SlotSwap& operator=(const SlotSwap&) = delete;

private:
    Function& slot_;
    Function held_;
};
