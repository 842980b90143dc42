// Processor faults on a thread with a translator become C++ exceptions: one
// process-wide handler records the fault and throws from the handler. The
// faulting code is built with -fnon-call-exceptions, so the throw unwinds
// through the faulting frame and its RAII guards. No alternate signal stack:
// throwing out of one aborts, so a stack overflow keeps the default action.

#include "platform/Kernel.h"

#include <csignal>
#include <cstring>
#include <mutex>

#include <ucontext.h>

namespace vindrel::platform {

namespace {

thread_local FaultTranslator currentTranslator = nullptr;

std::uint32_t StatusFor(int signal, int code) {
    switch (signal) {
    case SIGSEGV:
        return 0xC0000005; // access violation
    case SIGBUS:
        return 0x80000002; // datatype misalignment
    case SIGILL:
        return 0xC000001D; // illegal instruction
    case SIGFPE:
        switch (code) {
        case FPE_INTDIV:
            return 0xC0000094;
        case FPE_INTOVF:
            return 0xC0000095;
        case FPE_FLTDIV:
            return 0xC000008E;
        case FPE_FLTOVF:
            return 0xC0000091;
        case FPE_FLTUND:
            return 0xC0000093;
        case FPE_FLTRES:
            return 0xC000008F;
        case FPE_FLTINV:
            return 0xC0000090;
        default:
            return 0xC0000090;
        }
    default:
        return 0;
    }
}

std::uintptr_t InstructionAddress(const siginfo_t* info, const void* context) {
#if defined(__x86_64__)
    if (context != nullptr)
        return static_cast<std::uintptr_t>(
            static_cast<const ucontext_t*>(context)->uc_mcontext.gregs[REG_RIP]);
#endif
    (void)context;
    return reinterpret_cast<std::uintptr_t>(info->si_addr);
}

void OnFault(int signal, siginfo_t* info, void* context) {
    const FaultTranslator translator = currentTranslator;
    if (translator == nullptr) {
        // Not ours: restore the default action; the fault repeats and ends the process.
        std::signal(signal, SIG_DFL);
        return;
    }
    FaultRecord fault;
    fault.code = StatusFor(signal, info->si_code);
    fault.address = InstructionAddress(info, context);
    // An access violation carries two parameters (kind and address) on Windows.
    fault.parameterCount = (signal == SIGSEGV || signal == SIGBUS) ? 2 : 0;
    translator(fault);
    throw UntranslatedFault{fault};
}

void InstallHandlers() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE})
        sigaction(signal, &action, nullptr);
}

} // namespace

FaultTranslator SetThreadFaultTranslator(FaultTranslator translator) {
    static std::once_flag installed;
    if (translator != nullptr)
        std::call_once(installed, InstallHandlers);
    const FaultTranslator previous = currentTranslator;
    currentTranslator = translator;
    return previous;
}

} // namespace vindrel::platform
