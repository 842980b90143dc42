#include "ErrorReporting.h"

#include "platform/WarningBox.h"

#include <atomic>
#include <cstdio>

namespace vindrel {

namespace {

struct Translation {
    std::uint32_t code;
    Exception::ExceptionProcessor2Error value;
};

constexpr Translation kTranslations[] = {
    {0x80000001, Exception::OperatingSystem},       // guard page violation
    {0x80000002, Exception::MemoryAccess},          // datatype misalignment
    {0xC0000005, Exception::MemoryAccess},          // access violation
    {0xC0000006, Exception::OperatingSystem},       // in-page error
    {0xC0000008, Exception::MemoryAccess},          // invalid handle
    {0xC000001D, Exception::OperatingSystem},       // illegal instruction
    {0xC0000025, Exception::Algorithm},             // non-continuable exception
    {0xC0000026, Exception::OperatingSystem},       // invalid disposition
    {0xC000008C, Exception::MemoryAccess},          // array bounds exceeded
    {0xC000008E, Exception::OperationResult},       // float divide by zero
    {0xC000008F, Exception::OperationResult},       // float inexact result
    {0xC0000090, Exception::FloatInvalidOperation}, // float invalid operation
    {0xC0000091, Exception::OperationResult},       // float overflow
    {0xC0000092, Exception::OperationResult},       // float stack check
    {0xC0000094, Exception::OperationResult},       // integer divide by zero
    {0xC0000095, Exception::OperationResult},       // integer overflow
    {0xC00000FD, Exception::Algorithm},             // stack overflow
    {0xC0000194, Exception::Algorithm},             // possible deadlock
};

// Written from the faulting thread's signal handler: plain atomics, no lock.
std::atomic<bool> faultRecorded{false};
std::atomic<std::uint32_t> faultCode{0};
std::atomic<std::uint32_t> faultFlags{0};
std::atomic<std::uintptr_t> faultAddress{0};
std::atomic<std::uint32_t> faultParameters{0};

const char16_t* const kSaveAndRestart =
    u"Immediately save the date with another name and restart the application.";

std::u16string Hex8(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(value));
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

void Report(const std::u16string& firstLine) {
    MessageCatalog& catalog = MessageCatalog::Instance();
    const std::u16string text =
        firstLine + u"\r\n" + catalog.Translate(kSaveAndRestart) + u"\r\n" + SystemErrorText();
    platform::ShowWarningBox(u"Exception", text);
}

} // namespace

std::u16string ErrorMessage(int value) {
    switch (value) {
    case Exception::EndedNormally:
        return u"It ended normally.";
    case Exception::MemoryAllocation:
        return u"The memory allocating error occurred.";
    case Exception::MemoryAccess:
        return u"The memory unlawful computer access error occurred.";
    case Exception::OperationResult:
        return u"The operation result error occurred.";
    case Exception::Algorithm:
        return u"The algorithm error occurred.";
    case Exception::OperatingSystem:
        return u"OS error occurred.";
    default:
        return u"An undefined error occurred.";
    }
}

void TranslateStructuredException(const platform::FaultRecord& fault) {
    LastFault::Set(fault);
    for (const Translation& t : kTranslations)
        if (t.code == fault.code)
            throw t.value;
}

void OnAllocationFailure() {
    throw Exception::MemoryAllocation;
}

bool LastFault::Get(platform::FaultRecord& fault) {
    if (!faultRecorded.load(std::memory_order_acquire))
        return false;
    fault.code = faultCode.load(std::memory_order_relaxed);
    fault.flags = faultFlags.load(std::memory_order_relaxed);
    fault.address = faultAddress.load(std::memory_order_relaxed);
    fault.parameterCount = faultParameters.load(std::memory_order_relaxed);
    return true;
}

void LastFault::Set(const platform::FaultRecord& fault) {
    faultCode.store(fault.code, std::memory_order_relaxed);
    faultFlags.store(fault.flags, std::memory_order_relaxed);
    faultAddress.store(fault.address, std::memory_order_relaxed);
    faultParameters.store(fault.parameterCount, std::memory_order_relaxed);
    faultRecorded.store(true, std::memory_order_release);
}

std::u16string SystemErrorText() {
    std::u16string text = platform::SystemErrorMessage(platform::LastSystemErrorCode());
    platform::FaultRecord fault;
    if (LastFault::Get(fault)) {
        text += u"\nExceptionCode: " + Hex8(fault.code) + u", ExceptionFlags: " +
                Hex8(fault.flags) + u", ExceptionAddress: " + Hex8(fault.address) +
                u", NumberParameters: " + Hex8(fault.parameterCount) + u"\n";
    }
    return text;
}

MessageCatalog& MessageCatalog::Instance() {
    static MessageCatalog catalog;
    return catalog;
}

std::u16string MessageCatalog::Translate(const std::u16string& text) {
    std::lock_guard<std::mutex> guard(lock);
    for (const Table& table : tables) {
        if (table.name == u"Text") {
            const auto found = table.entries.find(text);
            return found != table.entries.end() ? found->second : text;
        }
    }
    return text;
}

void MessageCatalog::AddTable(const std::u16string& name,
                              std::unordered_map<std::u16string, std::u16string> entries) {
    std::lock_guard<std::mutex> guard(lock);
    tables.push_back(Table{name, std::move(entries)});
}

void MessageCatalog::Clear() {
    std::lock_guard<std::mutex> guard(lock);
    tables.clear();
}

void ReportError(int value) {
    Report(MessageCatalog::Instance().Translate(ErrorMessage(value)));
}

void ReportOtherError() {
    Report(MessageCatalog::Instance().Translate(
        u"An error has occurred. The command will be cancelled.\r\n"));
}

} // namespace vindrel
