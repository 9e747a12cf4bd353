// fiber.h: a function run on a stack of its own, switched to and from on one thread. A
// streamed read runs the parser on a fiber so that the parser never has to be suspended:
// suspending expat makes it rescan every byte for its line counter, a final parse of the
// whole input does not.
#pragma once

#include <cstddef>

namespace Tessel16::detail {

class Fiber {
public:
    using Body = void (*)(void* argument);
    // Nothing runs until the first Resume. Throws std::bad_alloc when no stack can be had.
    Fiber(Body body, void* argument);
    // The body must have returned (or never started): a stack is never abandoned mid-way.
    ~Fiber();
    Fiber(const Fiber&) = delete;
    Fiber& operator=(const Fiber&) = delete;

    // Runs the body until it calls Yield or returns. Not from inside the body.
    void Resume();
    // From inside the body: back to the caller of Resume, until the next Resume.
    void Yield();
    bool IsStarted() const { return m_started; }
    bool IsFinished() const { return m_finished; }

private:
    struct State;
    static void Enter();
    void SwitchOut(bool finishing);

    Body m_body;
    void* m_argument;
    State* m_state;
    bool m_started = false;
    bool m_finished = false;
};

}  // namespace Tessel16::detail
