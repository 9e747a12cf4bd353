// A program outside the source tree that only sees the installed headers and library.
#include <tessel16/tessel16.h>

#include <cstdio>

int main() {
    Tessel16::CTsException e("outer", "/a/b", Tessel16::CTsInvalidValueException("inner"));
    std::printf("%s|%d.%d\n", e.GetFullMessage().c_str(), TESSEL16_VERSION_MAJOR,
                TESSEL16_VERSION_MINOR);
    return e.GetPath() == "/a/b" ? 0 : 1;
}
