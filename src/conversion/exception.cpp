// exception.cpp: the exception family. Every class clones to its own dynamic class so that
// an inner exception keeps its kind when it is copied into an outer one.
#include "tessel16/exception.h"

#include <utility>

namespace Tessel16 {

CTsException::CTsException() = default;

CTsException::CTsException(std::string message) : m_message(std::move(message)) {}

CTsException::CTsException(std::string message, const CTsException& inner)
    : m_message(std::move(message)), m_inner(inner.Clone()) {}

CTsException::CTsException(std::string message, std::string path)
    : m_message(std::move(message)) {
    if (!path.empty()) {
        m_message += "\nPath: ";
        m_message += path;
        m_path = std::move(path);
    }
}

CTsException::CTsException(std::string message, std::string path, const CTsException& inner)
    : CTsException(std::move(message), std::move(path)) {
    m_inner = inner.Clone();
}

CTsException::CTsException(const CTsException& other)
    : m_message(other.m_message), m_path(other.m_path), m_inner(CloneOf(other.m_inner)) {}

CTsException& CTsException::operator=(const CTsException& other) {
    if (this != &other) {
        CTsException* inner = CloneOf(other.m_inner);
        delete m_inner;
        m_inner = inner;
        m_message = other.m_message;
        m_path = other.m_path;
    }
    return *this;
}

CTsException::~CTsException() { delete m_inner; }

std::string CTsException::GetFullMessage() const {
    std::string full = m_message;
    for (const CTsException* e = m_inner; e != nullptr; e = e->m_inner) {
        full += '\n';
        full += e->m_message;
    }
    return full;
}

CTsException* CTsException::Clone() const { return new CTsException(*this); }

// Each subclass repeats the same five members; the macro keeps the copies identical.
#define TESSEL16_EXCEPTION_COMMON(Class, Base)                                  \
    Class::Class() = default;                                                   \
    Class::Class(const Class& other) = default;                                 \
    Class::Class(const CTsException& other) : Base(other) {}                    \
    Class& Class::operator=(const Class& other) {                               \
        Base::operator=(other);                                                 \
        return *this;                                                           \
    }                                                                           \
    Class::~Class() = default;                                                  \
    CTsException* Class::Clone() const { return new Class(*this); }

TESSEL16_EXCEPTION_COMMON(CTsValidationException, CTsException)
CTsValidationException::CTsValidationException(std::string message, std::string path)
    : CTsException(std::move(message), std::move(path)) {}
CTsValidationException::CTsValidationException(std::string message, std::string path,
                                               const CTsException& inner)
    : CTsException(std::move(message), std::move(path), inner) {}

TESSEL16_EXCEPTION_COMMON(CTsInvalidNamespaceException, CTsValidationException)
CTsInvalidNamespaceException::CTsInvalidNamespaceException(std::string message,
                                                           std::string path)
    : CTsValidationException(std::move(message), std::move(path)) {}
CTsInvalidNamespaceException::CTsInvalidNamespaceException(std::string message,
                                                           std::string path,
                                                           const CTsException& inner)
    : CTsValidationException(std::move(message), std::move(path), inner) {}

TESSEL16_EXCEPTION_COMMON(CTsInvalidValueException, CTsValidationException)
CTsInvalidValueException::CTsInvalidValueException(std::string message)
    : CTsValidationException(std::move(message), std::string()) {}
CTsInvalidValueException::CTsInvalidValueException(std::string message,
                                                   const CTsException& inner)
    : CTsValidationException(std::move(message), std::string(), inner) {}

TESSEL16_EXCEPTION_COMMON(CTsInvalidParamException, CTsException)
CTsInvalidParamException::CTsInvalidParamException(std::string message)
    : CTsException(std::move(message)) {}
CTsInvalidParamException::CTsInvalidParamException(std::string message,
                                                   const CTsException& inner)
    : CTsException(std::move(message), inner) {}

TESSEL16_EXCEPTION_COMMON(CTsInvalidStateException, CTsException)
CTsInvalidStateException::CTsInvalidStateException(std::string message)
    : CTsException(std::move(message)) {}
CTsInvalidStateException::CTsInvalidStateException(std::string message,
                                                   const CTsException& inner)
    : CTsException(std::move(message), inner) {}

TESSEL16_EXCEPTION_COMMON(CTsOverFlowException, CTsException)
CTsOverFlowException::CTsOverFlowException(std::string message)
    : CTsException(std::move(message)) {}
CTsOverFlowException::CTsOverFlowException(std::string message, const CTsException& inner)
    : CTsException(std::move(message), inner) {}

#undef TESSEL16_EXCEPTION_COMMON

}  // namespace Tessel16
