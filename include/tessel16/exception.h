// exception.h: the one exception family of the library and the printf-style formatter that
// composes every message. Nothing here derives from std::exception: callers catch
// CTsException& (or a subclass) and read GetMessage / GetFullMessage.
#pragma once

#include <string>

#include "tessel16/export.h"

namespace Tessel16 {

// Root of the family. A non-empty path is appended to the message as "\nPath: <path>";
// an inner exception is cloned and owned.
class TESSEL16_API CTsException {
public:
    CTsException();
    explicit CTsException(std::string message);
    CTsException(std::string message, const CTsException& inner);
    CTsException(std::string message, std::string path);
    CTsException(std::string message, std::string path, const CTsException& inner);
    CTsException(const CTsException& other);
    CTsException& operator=(const CTsException& other);
    virtual ~CTsException();

    // The message, with "\nPath: " and the path when a path was given.
    std::string GetMessage() const { return m_message; }
    // The path passed to the constructor, or "".
    std::string GetPath() const { return m_path; }
    // The cause, owned by this object; null when there is none.
    const CTsException* GetInnerException() const { return m_inner; }
    // This message, then one line per inner exception down the chain.
    std::string GetFullMessage() const;

protected:
    // A heap copy of the object's own dynamic class; the caller owns it.
    virtual CTsException* Clone() const;

private:
    std::string m_message;
    std::string m_path;
    CTsException* m_inner = nullptr;

    // Subclasses clone inner exceptions of any member of the family.
    static CTsException* CloneOf(const CTsException* e) { return e ? e->Clone() : nullptr; }
    friend class CTsValidationException;
    friend class CTsInvalidNamespaceException;
    friend class CTsInvalidValueException;
    friend class CTsInvalidParamException;
    friend class CTsInvalidStateException;
    friend class CTsOverFlowException;
};

// The document or the object breaks a rule of the schema.
class TESSEL16_API CTsValidationException : public CTsException {
public:
    CTsValidationException();
    CTsValidationException(std::string message, std::string path);
    CTsValidationException(std::string message, std::string path, const CTsException& inner);
    CTsValidationException(const CTsValidationException& other);
    CTsValidationException(const CTsException& other);  // NOLINT: converting by design
    CTsValidationException& operator=(const CTsValidationException& other);
    ~CTsValidationException() override;

protected:
    CTsException* Clone() const override;
};

// An element or attribute sits in a namespace the schema does not allow there.
class TESSEL16_API CTsInvalidNamespaceException : public CTsValidationException {
public:
    CTsInvalidNamespaceException();
    CTsInvalidNamespaceException(std::string message, std::string path);
    CTsInvalidNamespaceException(std::string message, std::string path,
                                 const CTsException& inner);
    CTsInvalidNamespaceException(const CTsInvalidNamespaceException& other);
    CTsInvalidNamespaceException(const CTsException& other);  // NOLINT
    CTsInvalidNamespaceException& operator=(const CTsInvalidNamespaceException& other);
    ~CTsInvalidNamespaceException() override;

protected:
    CTsException* Clone() const override;
};

// A lexical form cannot be converted, or a value breaks a facet. Its own constructors take no
// path; the converting constructor keeps the path (and the message with it) of the exception
// it converts, which is how strict reading says where a value failed.
class TESSEL16_API CTsInvalidValueException : public CTsValidationException {
public:
    CTsInvalidValueException();
    explicit CTsInvalidValueException(std::string message);
    CTsInvalidValueException(std::string message, const CTsException& inner);
    CTsInvalidValueException(const CTsInvalidValueException& other);
    CTsInvalidValueException(const CTsException& other);  // NOLINT
    CTsInvalidValueException& operator=(const CTsInvalidValueException& other);
    ~CTsInvalidValueException() override;

protected:
    CTsException* Clone() const override;
};

// A caller passed an unusable argument.
class TESSEL16_API CTsInvalidParamException : public CTsException {
public:
    CTsInvalidParamException();
    explicit CTsInvalidParamException(std::string message);
    CTsInvalidParamException(std::string message, const CTsException& inner);
    CTsInvalidParamException(const CTsInvalidParamException& other);
    CTsInvalidParamException(const CTsException& other);  // NOLINT
    CTsInvalidParamException& operator=(const CTsInvalidParamException& other);
    ~CTsInvalidParamException() override;

protected:
    CTsException* Clone() const override;
};

// The operation does not fit the object's present state.
class TESSEL16_API CTsInvalidStateException : public CTsException {
public:
    CTsInvalidStateException();
    explicit CTsInvalidStateException(std::string message);
    CTsInvalidStateException(std::string message, const CTsException& inner);
    CTsInvalidStateException(const CTsInvalidStateException& other);
    CTsInvalidStateException(const CTsException& other);  // NOLINT
    CTsInvalidStateException& operator=(const CTsInvalidStateException& other);
    ~CTsInvalidStateException() override;

protected:
    CTsException* Clone() const override;
};

// A decimal does not fit the requested native type.
class TESSEL16_API CTsOverFlowException : public CTsException {
public:
    CTsOverFlowException();
    explicit CTsOverFlowException(std::string message);
    CTsOverFlowException(std::string message, const CTsException& inner);
    CTsOverFlowException(const CTsOverFlowException& other);
    CTsOverFlowException(const CTsException& other);  // NOLINT
    CTsOverFlowException& operator=(const CTsOverFlowException& other);
    ~CTsOverFlowException() override;

protected:
    CTsException* Clone() const override;
};

// printf-style formatting into a string. The output length is bounded up front from the
// format and its arguments; text beyond that bound is cut, and it never throws.
TESSEL16_API std::string FormatString(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace Tessel16
