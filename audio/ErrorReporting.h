#pragma once

#include "platform/Kernel.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace vindrel {

namespace Exception {
// Errors of background work, thrown by value.
enum ExceptionProcessor2Error : int {
    EndedNormally = 0,
    MemoryAllocation = 1,
    MemoryAccess = 2,
    OperationResult = 3,
    Algorithm = 4,
    OperatingSystem = 5,
    FloatInvalidOperation = 6,
};
} // namespace Exception

std::u16string ErrorMessage(int value);

// The per-thread fault translator: records the fault, then throws the error
// value its status code maps to; returns for codes it does not know.
void TranslateStructuredException(const platform::FaultRecord& fault);
// The new-handler of worker threads: throws MemoryAllocation.
[[noreturn]] void OnAllocationFailure();

// The last fault any translator saw, process-wide; never cleared.
struct LastFault {
    static bool Get(platform::FaultRecord& fault);
    static void Set(const platform::FaultRecord& fault);
};

// The system's text for the calling thread's last error, then a details line
// when a fault has been recorded.
std::u16string SystemErrorText();

// Replacement texts for messages, looked up in the table named "Text".
class MessageCatalog {
public:
    static MessageCatalog& Instance();
    std::u16string Translate(const std::u16string& text);
    void AddTable(const std::u16string& name,
                  std::unordered_map<std::u16string, std::u16string> entries);
    void Clear();

private:
    struct Table {
        std::u16string name;
        std::unordered_map<std::u16string, std::u16string> entries;
    };
    std::mutex lock;
    std::vector<Table> tables;
};

// The warning boxes a worker shows when its work ends by an error.
void ReportError(int value);
void ReportOtherError();

} // namespace vindrel
