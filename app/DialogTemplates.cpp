#include "DialogTemplates.h"

namespace vindrel {

const platform::DialogTemplate& MainDialogTemplate() {
    static const platform::DialogTemplate dialog{
        MainDialogTemplateId,
        u"Vindrel",
        0,
        0,
        307,
        156,
        0x00CA0040, // caption, system menu, minimise box, own font
        {
            {IdStatic, u"Static", u"Wave Type", 7, 10, 48, 8, 0x50020000},
            {IdWaveType, u"ComboBox", u"", 60, 7, 60, 98, 0x50210003},
            {2000, u"Button", u"174Hz", 130, 10, 36, 10, 0x50010003},
            {2001, u"Button", u"285Hz", 130, 26, 36, 10, 0x50010003},
            {2002, u"Button", u"396Hz", 130, 42, 36, 10, 0x50010003},
            {2003, u"Button", u"417Hz", 130, 58, 36, 10, 0x50010003},
            {2004, u"Button", u"528Hz", 130, 74, 36, 10, 0x50010003},
            {2005, u"Button", u"639Hz", 130, 90, 36, 10, 0x50010003},
            {2006, u"Button", u"741Hz", 130, 106, 36, 10, 0x50010003},
            {2007, u"Button", u"852Hz", 130, 122, 36, 10, 0x50010003},
            {2008, u"Button", u"963Hz", 130, 138, 36, 10, 0x50010003},
            {IdListen, u"Button", u"Listen", 192, 7, 50, 14, 0x50010000},
            {IdStop, u"Button", u"Stop", 250, 7, 50, 14, 0x50010000},
            {IdAbout, u"Button", u"&About...", 250, 135, 50, 14, 0x50010000},
            {IdLfo, u"Button", u"LFO AM", 7, 28, 41, 10, 0x50010003},
            {IdDelay, u"Button", u"Delay", 7, 46, 33, 10, 0x50010003},
            {IdDelayTime, u"msctls_trackbar32", u"", 7, 63, 100, 15, 0x50010018},
        },
    };
    return dialog;
}

const platform::DialogTemplate& AboutDialogTemplate() {
    static const platform::DialogTemplate dialog{
        AboutDialogTemplateId,
        u"About",
        0,
        0,
        187,
        102,
        0x80C800C0, // popup, caption, system menu, modal frame, own font
        {
            {IdOk, u"Button", u"OK", 130, 81, 50, 14, 0x50010001},
            {IdStatic, u"Static",
             u"Vindrel Application v1.0\n\nCopyright (C) 2026 the Vindrel developers", 25, 57, 78,
             32, 0x50020001},
            {IdStatic, u"Static", u"#128", 55, 26, 20, 20, 0x50000003},
            {IdStatic, u"Button", u"", 7, 7, 115, 88, 0x50000007},
        },
    };
    return dialog;
}

} // namespace vindrel
