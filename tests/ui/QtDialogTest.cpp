// The real Qt dialogs, offscreen: built from the templates, driven with key
// presses and clicks through the program's own loop.

#include "TestWaveOut.h"
#include "app/Application.h"
#include "app/DialogTemplates.h"
#include "app/resources/ProgramIcon.h"
#include "audio/ErrorReporting.h"
#include "platform/WarningBox.h"
#include "platform/qt/QtUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <functional>
#include <thread>

using namespace vindrel;
using platform::qt::TemplateDialog;

namespace {

TemplateDialog* MainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "Vindrel" && w->isVisible())
            return static_cast<TemplateDialog*>(w);
    return nullptr;
}

template <typename T = QWidget> T* Control(QWidget* dialog, int id) {
    return dialog->findChild<T*>(QStringLiteral("control%1").arg(id));
}

QMessageBox* WarningBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "vindrelWarningBox" && w->isVisible())
            return static_cast<QMessageBox*>(w);
    return nullptr;
}

void Activate(QWidget* window) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool press = true) {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr)
        target = QApplication::activeWindow();
    if (press)
        QTest::keyPress(target, key, modifiers);
    else
        QTest::keyRelease(target, key, modifiers);
}

} // namespace

class QtDialogTest : public QObject {
    Q_OBJECT

    // Runs the program's loop with the real dialog. The steps run one after
    // another from the loop, which goes idle between them; the last must end
    // the program. Returns the exit code.
    int RunProgram(testing::TestWaveOutDriver& sound, std::vector<std::function<void()>> steps) {
        platform::qt::QtUiServices ui(QApplication::windowIcon());
        std::size_t next = 0;
        std::function<void()> runNext = [&] {
            if (next == 0) {
                TemplateDialog* main = MainWindow();
                QVERIFY(main != nullptr);
                Activate(main);
            }
            if (!QTest::currentTestFailed() && next < steps.size())
                steps[next++]();
            if (QTest::currentTestFailed())
                ui.PostQuit(-1); // never leave the loop running after a failure
            else if (next < steps.size())
                QTimer::singleShot(30, runNext);
        };
        QTimer::singleShot(0, runNext);
        return runApplication(ui, sound);
    }

private slots:
    void initTestCase() {
        QIcon icon;
        for (const char* const* const* image = programIconImages; *image != nullptr; ++image)
            icon.addPixmap(QPixmap(*image));
        QApplication::setWindowIcon(icon);
        platform::qt::InstallWarningBoxes();
    }
    void cleanupTestCase() { platform::qt::RemoveWarningBoxes(); }

    void controlsFollowTheTemplate() {
        testing::TestWaveOutDriver sound;
        const int code = RunProgram(
            sound, {[] {
                TemplateDialog* main = MainWindow();
                const int bx = main->BaseUnitX(), by = main->BaseUnitY();
                QVERIFY(bx > 0 && by > 0);
                QCOMPARE(main->size(), QSize(307 * bx / 4, 156 * by / 8));
                QWidget* previous = nullptr;
                for (const auto& c : MainDialogTemplate().controls) {
                    if (c.id == IdStatic)
                        continue;
                    QWidget* w = Control(main, c.id);
                    QVERIFY2(w != nullptr, qPrintable(QString::number(c.id)));
                    QCOMPARE(w->x(), c.x * bx / 4);
                    QCOMPARE(w->y(), c.y * by / 8);
                    QCOMPARE(w->width(), c.width * bx / 4);
                    if (c.className != u"ComboBox")
                        QCOMPARE(w->height(), c.height * by / 8);
                    if (auto* button = qobject_cast<QAbstractButton*>(w))
                        QCOMPARE(button->text(), QString::fromStdU16String(c.text));
                    if (previous != nullptr)
                        QCOMPARE(previous->nextInFocusChain(), w);
                    previous = w;
                }
                QCOMPARE(Control<QComboBox>(main, IdWaveType)->count(), 3);
                QCOMPARE(Control<QComboBox>(main, IdWaveType)->currentText(), QString("Sine"));
                QCOMPARE(Control<QSlider>(main, IdDelayTime)->value(), 250);
                QCOMPARE(Control<QSlider>(main, IdDelayTime)->minimum(), 1);
                QCOMPARE(Control<QSlider>(main, IdDelayTime)->maximum(), 1000);
                // The first tab stop has the focus at open.
                QCOMPARE(QApplication::focusWidget(), Control(main, IdWaveType));
                // Centred in the work area.
                const QRect area = main->screen()->availableGeometry();
                QVERIFY(qAbs(main->frameGeometry().center().x() - area.center().x()) <= 1);
                QVERIFY(qAbs(main->frameGeometry().center().y() - area.center().y()) <= 1);
                Key(Qt::Key_Escape);
            }});
        QCOMPARE(code, 2);
    }

    void digitKeysNeverReachTheFocusedControl() {
        testing::TestWaveOutDriver sound;
        const int code = RunProgram(sound, {[] {
                                        TemplateDialog* main = MainWindow();
                                        auto* combo = Control<QComboBox>(main, IdWaveType);
                                        auto* slider = Control<QSlider>(main, IdDelayTime);
                                        auto* box528 = Control<QCheckBox>(main, 2004);
                                        QCOMPARE(QApplication::focusWidget(), combo);
                                        Key(Qt::Key_5);
                                        QVERIFY(box528->isChecked());
                                        QCOMPARE(combo->currentIndex(), 0);
                                        Key(Qt::Key_5, Qt::NoModifier, false);
                                        QVERIFY(!box528->isChecked());
                                        Key(Qt::Key_3, Qt::KeypadModifier);
                                        QVERIFY(Control<QCheckBox>(main, 2002)->isChecked());
                                        Key(Qt::Key_0, Qt::KeypadModifier);
                                        QVERIFY(!Control<QCheckBox>(main, 2002)->isChecked());

                                        slider->setFocus();
                                        Key(Qt::Key_9);
                                        QCOMPARE(slider->value(), 250);
                                        QVERIFY(Control<QCheckBox>(main, 2008)->isChecked());
                                        Key(Qt::Key_0);
                                        QVERIFY(!Control<QCheckBox>(main, 2008)->isChecked());

                                        // Alt+digit is a system key, not a digit.
                                        combo->setFocus();
                                        Key(Qt::Key_5, Qt::AltModifier);
                                        QVERIFY(!box528->isChecked());
                                        Key(Qt::Key_5, Qt::AltModifier, false);

                                        // Enter with a check box focused is command 1.
                                        Control(main, 2000)->setFocus();
                                        Key(Qt::Key_Return);
                                    }});
        QCOMPARE(code, 1);
    }

    void aboutBoxOpensCentredAndEscapeClosesOnlyIt() {
        testing::TestWaveOutDriver sound;
        bool aboutSeen = false;
        const int code = RunProgram(
            sound, {[&aboutSeen] {
                TemplateDialog* main = MainWindow();
                main->move(main->screen()->availableGeometry().right() - 100, 40);
                QTimer::singleShot(300, main, [&aboutSeen, main] {
                    QWidget* about = QApplication::activeModalWidget();
                    QVERIFY(about != nullptr);
                    aboutSeen = true;
                    // Checked in a function of its own: a failed check must not leave the box open.
                    [&] {
                        QCOMPARE(about->windowTitle(), QString("About"));
                        const QRect area = main->screen()->availableGeometry();
                        QVERIFY(area.contains(about->frameGeometry()));
                        // As centred on the main window as the work area allows.
                        QCOMPARE(about->frameGeometry().center().y(),
                                 main->frameGeometry().center().y());
                        bool iconShown = false, textShown = false;
                        for (QLabel* label : about->findChildren<QLabel*>()) {
                            iconShown = iconShown || !label->pixmap().isNull();
                            textShown = textShown ||
                                        label->text().startsWith("Vindrel Application v1.0\n\n");
                        }
                        QVERIFY(iconShown);
                        QVERIFY(textShown);
                    }();
                    QTest::keyClick(about, Qt::Key_Escape);
                });
                Activate(main);
                Key(Qt::Key_A, Qt::AltModifier); // the "&About..." mnemonic clicks the button
                QTRY_VERIFY(aboutSeen);
                QVERIFY(main->isVisible());
                Activate(main);
                Key(Qt::Key_Escape);
            }});
        QCOMPARE(code, 2);
    }

    void closeBoxIsCommandTwo() {
        testing::TestWaveOutDriver sound;
        const int code = RunProgram(sound, {[] { MainWindow()->close(); }});
        QCOMPARE(code, 2);
    }

    void buttonsFollowThePlayerAfterAnIdlePass() {
        testing::TestWaveOutDriver sound;
        const int code = RunProgram(
            sound, {[] {
                        QVERIFY(!Control(MainWindow(), IdListen)->isEnabled());
                        QVERIFY(Control(MainWindow(), IdStop)->isEnabled());
                        QTest::mouseClick(Control(MainWindow(), IdStop), Qt::LeftButton);
                    },
                    [] {
                        QVERIFY(Control(MainWindow(), IdListen)->isEnabled());
                        QVERIFY(!Control(MainWindow(), IdStop)->isEnabled());
                        QTest::mouseClick(Control(MainWindow(), IdListen), Qt::LeftButton);
                    },
                    [] {
                        QVERIFY(!Control(MainWindow(), IdListen)->isEnabled());
                        QVERIFY(Control(MainWindow(), IdStop)->isEnabled());
                        Key(Qt::Key_Escape);
                    }});
        QCOMPARE(code, 2);
        QCOMPARE(sound.opens.load(), 2);
        QCOMPARE(sound.closes.load(), 2);
    }

    void workerReportShowsAWarningWhileTheWindowTakesClicks() {
        testing::TestWaveOutDriver sound;
        std::thread worker;
        const int code =
            RunProgram(sound, {[&worker] {
                                   worker =
                                       std::thread([] { ReportError(Exception::MemoryAccess); });
                                   QTRY_VERIFY(WarningBox() != nullptr);
                                   QMessageBox* box = WarningBox();
                                   QCOMPARE(box->windowTitle(), QString("Exception"));
                                   QCOMPARE(box->icon(), QMessageBox::Warning);
                                   QVERIFY(box->text().startsWith(
                                       "The memory unlawful computer access error occurred."));
                                   QVERIFY(!box->isModal());
                                   // The main window still takes clicks meanwhile.
                                   Activate(MainWindow());
                                   QTest::mouseClick(Control(MainWindow(), 2000), Qt::LeftButton);
                               },
                               [] {
                                   QVERIFY(Control<QCheckBox>(MainWindow(), 2000)->isChecked());
                                   WarningBox()->button(QMessageBox::Ok)->click();
                                   Activate(MainWindow());
                                   Key(Qt::Key_Escape);
                               }});
        platform::ReleaseWarningBoxWaiters();
        if (worker.joinable())
            worker.join();
        QCOMPARE(code, 2);
    }
};

QTEST_MAIN(QtDialogTest)
#include "QtDialogTest.moc"
