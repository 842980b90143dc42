#include "audio/ErrorReporting.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace vindrel {
namespace {

int Thrown(std::uint32_t code) {
    platform::FaultRecord fault;
    fault.code = code;
    try {
        TranslateStructuredException(fault);
    } catch (Exception::ExceptionProcessor2Error value) {
        return value;
    }
    return -1;
}

TEST(ErrorReporting, FaultTranslationTable) {
    struct Case {
        std::uint32_t code;
        int value;
    };
    const Case cases[] = {
        {0x80000001, 5},
        {0x80000002, 2},
        {0xC0000005, 2},
        {0xC0000006, 5},
        {0xC0000008, 2},
        {0xC000001D, 5},
        {0xC0000025, 4},
        {0xC0000026, 5},
        {0xC000008C, 2},
        {0xC000008E, 3},
        {0xC000008F, 3},
        {0xC0000090, 6},
        {0xC0000091, 3},
        {0xC0000092, 3},
        {0xC0000094, 3},
        {0xC0000095, 3},
        {0xC00000FD, 4},
        {0xC0000194, 4},
        // Not translated: the translator returns.
        {0xC000008D, -1},
        {0xC0000093, -1},
        {0xC0000017, -1},
        {0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Thrown(c.code), c.value) << std::hex << c.code;
}

TEST(ErrorReporting, UntranslatedFaultsStillUpdateTheRecord) {
    platform::FaultRecord fault;
    fault.code = 0xC0000093;
    fault.flags = 1;
    fault.address = 0x1234;
    fault.parameterCount = 3;
    TranslateStructuredException(fault);
    platform::FaultRecord last;
    ASSERT_TRUE(LastFault::Get(last));
    EXPECT_EQ(last.code, 0xC0000093u);
    EXPECT_EQ(last.address, 0x1234u);
    errno = 0;
    const std::u16string text = SystemErrorText();
    EXPECT_NE(text.find(u"\nExceptionCode: C0000093, ExceptionFlags: 00000001, "
                        u"ExceptionAddress: 00001234, NumberParameters: 00000003\n"),
              std::u16string::npos);
}

TEST(ErrorReporting, Messages) {
    struct Case {
        int value;
        const char16_t* message;
    };
    const Case cases[] = {
        {0, u"It ended normally."},
        {1, u"The memory allocating error occurred."},
        {2, u"The memory unlawful computer access error occurred."},
        {3, u"The operation result error occurred."},
        {4, u"The algorithm error occurred."},
        {5, u"OS error occurred."},
        {6, u"An undefined error occurred."},
        {7, u"An undefined error occurred."},
        {-1, u"An undefined error occurred."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorMessage(c.value), c.message) << c.value;
}

TEST(ErrorReporting, CatalogUsesOnlyTheTableNamedText) {
    MessageCatalog& catalog = MessageCatalog::Instance();
    catalog.Clear();
    EXPECT_EQ(catalog.Translate(u"OS error occurred."), u"OS error occurred.");
    catalog.AddTable(u"text", {{u"OS error occurred.", u"lower-case table"}});
    EXPECT_EQ(catalog.Translate(u"OS error occurred."), u"OS error occurred.");
    catalog.AddTable(u"Text", {{u"OS error occurred.", u"Betriebssystemfehler."}});
    EXPECT_EQ(catalog.Translate(u"OS error occurred."), u"Betriebssystemfehler.");
    EXPECT_EQ(catalog.Translate(u"OS error occurred"), u"OS error occurred");
    catalog.Clear();
}

} // namespace
} // namespace vindrel
