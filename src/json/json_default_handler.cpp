// json_default_handler.cpp: the head of every handler chain. It only keeps track of where the
// reader is, so a message can say which member failed, and hands each event on.
#include "tessel16/json_text_reader.h"

namespace Tessel16 {

IJsonReaderHandler::~IJsonReaderHandler() = default;

CJsonReaderDefaultHandler::CJsonReaderDefaultHandler() = default;

CJsonReaderDefaultHandler::~CJsonReaderDefaultHandler() = default;

void CJsonReaderDefaultHandler::SetNextHandler(IJsonReaderHandler* next) { m_next.reset(next); }

void CJsonReaderDefaultHandler::CountItem() {
    if (!m_frames.empty() && m_frames.back().kind == Frame_Array) ++m_frames.back().index;
}

void CJsonReaderDefaultHandler::PopThrough(FrameKind kind) {
    while (!m_frames.empty()) {
        const FrameKind top = m_frames.back().kind;
        m_frames.pop_back();
        if (top == kind) return;
    }
}

void CJsonReaderDefaultHandler::StartJsonDocument() {
    m_frames.clear();
    if (m_next) m_next->StartJsonDocument();
}

void CJsonReaderDefaultHandler::EndJsonDocument() {
    if (m_next) m_next->EndJsonDocument();
}

void CJsonReaderDefaultHandler::ObjectName(const std::string& name) {
    // The previous member of the same object ended with its scalar value.
    if (!m_frames.empty() && m_frames.back().kind == Frame_Member)
        m_frames.back().name = name;
    else
        m_frames.push_back(Frame{name, -1, Frame_Member});
    if (m_next) m_next->ObjectName(name);
}

void CJsonReaderDefaultHandler::StringValue(const std::string& value) {
    CountItem();
    if (m_next) m_next->StringValue(value);
}

void CJsonReaderDefaultHandler::NumberValue(const std::string& value) {
    CountItem();
    if (m_next) m_next->NumberValue(value);
}

void CJsonReaderDefaultHandler::BooleanValue(bool value) {
    CountItem();
    if (m_next) m_next->BooleanValue(value);
}

void CJsonReaderDefaultHandler::NullValue() {
    CountItem();
    if (m_next) m_next->NullValue();
}

void CJsonReaderDefaultHandler::StartObject() {
    if (!m_frames.empty() && m_frames.back().kind == Frame_Member) {
        m_frames.back().kind = Frame_Object;
    } else if (!m_frames.empty() && m_frames.back().kind == Frame_Array) {
        // An item is named after its array only when a path is asked for.
        ++m_frames.back().index;
        m_frames.push_back(Frame{std::string(), m_frames.back().index, Frame_Object});
    } else {
        m_frames.push_back(Frame{std::string(), -1, Frame_Object});
    }
    if (m_next) m_next->StartObject();
}

void CJsonReaderDefaultHandler::EndObject() {
    // Drops the member frame a scalar left on top, then the object's own.
    PopThrough(Frame_Object);
    if (m_next) m_next->EndObject();
}

void CJsonReaderDefaultHandler::StartArray() {
    if (!m_frames.empty() && m_frames.back().kind == Frame_Member) {
        m_frames.back().kind = Frame_Array;
    } else {
        std::string name;
        if (!m_frames.empty() && m_frames.back().kind == Frame_Array) {
            Frame& outer = m_frames.back();
            ++outer.index;
            name = outer.name + "[" + std::to_string(outer.index) + "]";
        }
        m_frames.push_back(Frame{std::move(name), -1, Frame_Array});
    }
    if (m_next) m_next->StartArray();
}

void CJsonReaderDefaultHandler::EndArray() {
    PopThrough(Frame_Array);
    if (m_next) m_next->EndArray();
}

std::string CJsonReaderDefaultHandler::GetErrorPath() {
    std::string path = "$";
    for (std::size_t i = 0; i < m_frames.size(); ++i) {
        const Frame& frame = m_frames[i];
        if (frame.kind == Frame_Object && frame.index >= 0 && i > 0) {
            path += "." + m_frames[i - 1].name + "[" + std::to_string(frame.index) + "]";
            continue;
        }
        if (frame.name.empty()) continue;
        // An array is named through its items, or at the end while no item has started.
        if (frame.kind == Frame_Array) {
            if (i + 1 < m_frames.size()) continue;
            path += "." + frame.name;
            if (frame.index >= 0) path += "[" + std::to_string(frame.index) + "]";
            continue;
        }
        path += "." + frame.name;
    }
    return path;
}

}  // namespace Tessel16
