// fiber_posix.cpp: fibers on stacks of their own. Each thread keeps the stack of its last
// fiber for the next one, so a read of a small document costs no mapping. On x86-64 a switch
// saves and loads the callee-saved registers by hand; swapcontext also saves and restores the
// signal mask, a system call each way that cost about a microsecond per switch here, and a
// fiber never changes the mask. Elsewhere ucontext does the switching. Under
// AddressSanitizer and ThreadSanitizer every switch is announced, or the tools would take
// the other stack for a corrupted one.
#include <sys/mman.h>
#include <unistd.h>

#include "platform/fiber.h"

#if !defined(__x86_64__)
#include <ucontext.h>
#endif

#include <cstdint>
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

#if defined(__x86_64__)
// Pushes the callee-saved registers and the SSE and x87 control words on the current stack,
// stores the stack pointer in *save, takes `load` as the stack pointer and pops the same from
// it. What every other register holds, the caller of a function may not rely on anyway.
extern "C" void tessel16_fiber_switch(void** save, void* load);
asm(R"(
    .pushsection .text
    .globl tessel16_fiber_switch
    .hidden tessel16_fiber_switch
    .type tessel16_fiber_switch, @function
tessel16_fiber_switch:
    pushq %rbp
    pushq %rbx
    pushq %r12
    pushq %r13
    pushq %r14
    pushq %r15
    subq $8, %rsp
    stmxcsr (%rsp)
    fnstcw 4(%rsp)
    movq %rsp, (%rdi)
    movq %rsi, %rsp
    ldmxcsr (%rsp)
    fldcw 4(%rsp)
    addq $8, %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rbx
    popq %rbp
    ret
    .size tessel16_fiber_switch, .-tessel16_fiber_switch
    .popsection
)");
#endif

namespace Tessel16::detail {

namespace {

#if defined(__x86_64__)
struct Context {
    void* sp = nullptr;
};

void Switch(Context& from, const Context& to) { tessel16_fiber_switch(&from.sp, to.sp); }

// Lays out the stack as a switch away from `entry` would have left it, so the first switch
// to it returns into `entry` as if called, with the stack aligned as a call leaves it.
void Prepare(Context& context, char* bottom, std::size_t size, void (*entry)()) {
    auto top = reinterpret_cast<std::uintptr_t>(bottom + size) & ~std::uintptr_t{15};
    auto* slot = reinterpret_cast<std::uint64_t*>(top);
    *--slot = 0;  // where `entry` would return to: it never returns
    *--slot = reinterpret_cast<std::uint64_t>(entry);
    for (int i = 0; i < 6; ++i) *--slot = 0;  // rbp, rbx, r12-r15; rbp 0 ends backtraces
    std::uint32_t mxcsr;
    std::uint16_t x87;
    asm volatile("stmxcsr %0" : "=m"(mxcsr));
    asm volatile("fnstcw %0" : "=m"(x87));
    *--slot = std::uint64_t{mxcsr} | std::uint64_t{x87} << 32;
    context.sp = slot;
}
#else
struct Context {
    ucontext_t uc;
};

void Switch(Context& from, const Context& to) { swapcontext(&from.uc, &to.uc); }

void Prepare(Context& context, char* bottom, std::size_t size, void (*entry)()) {
    getcontext(&context.uc);
    context.uc.uc_stack.ss_sp = bottom;
    context.uc.uc_stack.ss_size = size;
    context.uc.uc_link = nullptr;
    makecontext(&context.uc, entry, 0);
}
#endif

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
    Context fiber;
    Context caller;
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
        Prepare(state.fiber, state.Bottom(), kStackSize, &Fiber::Enter);
        t_entering = this;
    }
#ifdef TESSEL16_FIBER_TSAN
    state.tsanCaller = __tsan_get_current_fiber();
    __tsan_switch_to_fiber(state.tsanFiber, 0);
#endif
#ifdef TESSEL16_FIBER_ASAN
    __sanitizer_start_switch_fiber(&state.callerFakeStack, state.Bottom(), kStackSize);
#endif
    Switch(state.caller, state.fiber);
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
    Switch(state.fiber, state.caller);
#ifdef TESSEL16_FIBER_ASAN
    __sanitizer_finish_switch_fiber(state.fiberFakeStack, &state.callerBottom, &state.callerSize);
#endif
}

}  // namespace Tessel16::detail
