// fiber_posix.cpp: fibers over ucontext. Each thread keeps the stack of its last fiber for
// the next one, so a read of a small document costs no mapping. Under AddressSanitizer and
// ThreadSanitizer every switch is announced, or the tools would take the other stack for a
// corrupted one.
#include "platform/fiber.h"

#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <exception>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define TESSEL16_FIBER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSEL16_FIBER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define TESSEL16_FIBER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TESSEL16_FIBER_TSAN 1
#endif
#endif

#ifdef TESSEL16_FIBER_ASAN
#include <sanitizer/common_interface_defs.h>
#endif
#ifdef TESSEL16_FIBER_TSAN
#include <sanitizer/tsan_interface.h>
#endif

namespace Tessel16::detail {

namespace {

// As deep as a thread's usual stack: expat expands nested internal entities recursively,
// and a document may nest them as far as its amplification limit lets it. Only the pages
// a parse touches are ever backed by memory.
constexpr std::size_t kStackSize = std::size_t{8} << 20;

struct Stack {
    void* mapping = nullptr;
    std::size_t guard = 0;
};

Stack MapStack() {
    const std::size_t guard = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* mapping = mmap(nullptr, kStackSize + guard, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
    if (mapping == MAP_FAILED) throw std::bad_alloc();
    // The lowest page stays inaccessible, so an overflow faults instead of writing over
    // whatever lies below.
    mprotect(mapping, guard, PROT_NONE);
    return Stack{mapping, guard};
}

void UnmapStack(const Stack& stack) {
    if (stack.mapping) munmap(stack.mapping, kStackSize + stack.guard);
}

struct StackCache {
    Stack spare;
    ~StackCache() { UnmapStack(spare); }
};
thread_local StackCache t_stacks;
thread_local Fiber* t_entering = nullptr;

Stack TakeStack() {
    Stack stack = t_stacks.spare;
    t_stacks.spare = Stack{};
    return stack.mapping ? stack : MapStack();
}

void GiveBackStack(const Stack& stack) {
    if (!t_stacks.spare.mapping)
        t_stacks.spare = stack;
    else
        UnmapStack(stack);
}

}  // namespace

struct Fiber::State {
    Stack stack;
    ucontext_t fiber;
    ucontext_t caller;
#ifdef TESSEL16_FIBER_ASAN
    void* callerFakeStack = nullptr;
    void* fiberFakeStack = nullptr;
    const void* callerBottom = nullptr;
    std::size_t callerSize = 0;
#endif
#ifdef TESSEL16_FIBER_TSAN
    void* tsanFiber = nullptr;
    void* tsanCaller = nullptr;
#endif
    char* Bottom() const { return static_cast<char*>(stack.mapping) + stack.guard; }
};

Fiber::Fiber(Body body, void* argument) : m_body(body), m_argument(argument), m_state(new State) {
    try {
        m_state->stack = TakeStack();
    } catch (...) {
        delete m_state;
        throw;
    }
#ifdef TESSEL16_FIBER_TSAN
    m_state->tsanFiber = __tsan_create_fiber(0);
#endif
}

Fiber::~Fiber() {
#ifdef TESSEL16_FIBER_TSAN
    __tsan_destroy_fiber(m_state->tsanFiber);
#endif
    GiveBackStack(m_state->stack);
    delete m_state;
}

void Fiber::Enter() {
    Fiber* self = t_entering;
    t_entering = nullptr;
#ifdef TESSEL16_FIBER_ASAN
    __sanitizer_finish_switch_fiber(nullptr, &self->m_state->callerBottom,
                                    &self->m_state->callerSize);
#endif
    // The body promises not to throw: an exception must never unwind off this stack.
    try {
        self->m_body(self->m_argument);
    } catch (...) {
        std::terminate();
    }
    self->m_finished = true;
    self->SwitchOut(true);
}

void Fiber::Resume() {
    State& state = *m_state;
    if (m_finished) return;
    if (!m_started) {
        m_started = true;
        getcontext(&state.fiber);
        state.fiber.uc_stack.ss_sp = state.Bottom();
        state.fiber.uc_stack.ss_size = kStackSize;
        state.fiber.uc_link = nullptr;
        makecontext(&state.fiber, &Fiber::Enter, 0);
        t_entering = this;
    }
#ifdef TESSEL16_FIBER_TSAN
    state.tsanCaller = __tsan_get_current_fiber();
    __tsan_switch_to_fiber(state.tsanFiber, 0);
#endif
#ifdef TESSEL16_FIBER_ASAN
    __sanitizer_start_switch_fiber(&state.callerFakeStack, state.Bottom(), kStackSize);
#endif
    swapcontext(&state.caller, &state.fiber);
#ifdef TESSEL16_FIBER_ASAN
    __sanitizer_finish_switch_fiber(state.callerFakeStack, nullptr, nullptr);
#endif
}

void Fiber::Yield() { SwitchOut(false); }

void Fiber::SwitchOut(bool finishing) {
    State& state = *m_state;
#ifdef TESSEL16_FIBER_ASAN
    // A finished fiber's fake frames are released, a suspended one's kept.
    __sanitizer_start_switch_fiber(finishing ? nullptr : &state.fiberFakeStack, state.callerBottom,
                                   state.callerSize);
#else
    (void)finishing;
#endif
#ifdef TESSEL16_FIBER_TSAN
    __tsan_switch_to_fiber(state.tsanCaller, 0);
#endif
    swapcontext(&state.fiber, &state.caller);
#ifdef TESSEL16_FIBER_ASAN
    __sanitizer_finish_switch_fiber(state.fiberFakeStack, &state.callerBottom, &state.callerSize);
#endif
}

}  // namespace Tessel16::detail
