// The wait box on its own: its shape, and that nothing but the end of the watched process closes it.
#include "ProcessWait.h"

#include "TestPlayFixture.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

TEST(ProcessWait, Shape)
{
    TFormProcessWait box;
    EXPECT_EQ(box.size(), QSize(120, 48));
    EXPECT_EQ(box.Panel()->text(), QStringLiteral("En ejecución"));
    EXPECT_EQ(box.Timer()->interval(), 50);
    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMaximizeButtonHint);
}

TEST(ProcessWait, ClosesOnlyWhenTheProcessHasEnded)
{
    QWidget editor;
    editor.show();
    QWidget other;
    other.show();
    other.activateWindow();
    bool running = true;
    TFormProcessWait box(&editor);
    box.SetProcess([&running] { return running; });

    bool openAfterAttempts = false;
    WhenModalShows([&](QWidget* shown) {
        ASSERT_EQ(shown, &box);
        box.close();
        box.reject();
        box.done(QDialog::Rejected);
        QTest::keyClick(&box, Qt::Key_Escape);
        QTest::keyClick(&box, Qt::Key_F4, Qt::AltModifier);
        QTest::qWait(150);
        openAfterAttempts = box.isVisible();
        running = false;
    });
    EXPECT_EQ(box.exec(), QDialog::Accepted);
    EXPECT_TRUE(openAfterAttempts);
    EXPECT_FALSE(box.isVisible());
    // The editor comes back to the front.
    QTest::qWait(20);
    EXPECT_EQ(QApplication::activeWindow(), &editor);
}
