#include "TestSandbox.h"
#include "VudBase.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace {
class HelpForm : public TFormVudBase {
public:
    HelpForm()
    {
        auto* layout = new QVBoxLayout(this);
        Edit = new QLineEdit;
        List = new QListWidget;
        ButtonHelp = new QPushButton("Ayuda");
        ButtonHelp->setObjectName("ButtonHelp");
        layout->addWidget(Edit);
        layout->addWidget(List);
        layout->addWidget(ButtonHelp);
        connect(ButtonHelp, &QPushButton::clicked, this, [this] { ++Helps; });
    }
    QLineEdit* Edit;
    QListWidget* List;
    QPushButton* ButtonHelp;
    int Helps = 0;
};

TEST(VudBase, F1PressesAnEnabledHelpButton)
{
    HelpForm form;
    form.show();
    QTest::keyClick(form.Edit, Qt::Key_F1);
    EXPECT_EQ(form.Helps, 1);
    form.ButtonHelp->setEnabled(false);
    QTest::keyClick(form.Edit, Qt::Key_F1);
    EXPECT_EQ(form.Helps, 1);
    TFormVudBase plain; // no help button: nothing to press, nothing breaks
    plain.show();
    QTest::keyClick(&plain, Qt::Key_F1);
}

TEST(VudBase, ContextMenuOnlyForTheControlThatWasClicked)
{
    HelpForm form;
    EXPECT_TRUE(TFormVudBase::LandedOn(form.List, form.List));
    EXPECT_TRUE(TFormVudBase::LandedOn(form.List, form.List->viewport()));
    EXPECT_FALSE(TFormVudBase::LandedOn(&form, form.Edit)) << "passed on from a child";
    EXPECT_FALSE(TFormVudBase::LandedOn(form.List, form.Edit));
}

TEST(VudBase, DialogsOpenCentredOnTheirOwner)
{
    QWidget owner;
    owner.setGeometry(100, 100, 600, 400);
    owner.show();
    TFormVudBase dialog(&owner);
    dialog.resize(200, 100);
    dialog.show();
    const QPoint centre = dialog.frameGeometry().center();
    EXPECT_NEAR(centre.x(), owner.frameGeometry().center().x(), 2);
    EXPECT_NEAR(centre.y(), owner.frameGeometry().center().y(), 2);
}
} // namespace

#include <QApplication>
#include <QContextMenuEvent>

namespace {
// A form that counts the context menus it would show itself.
class MenuForm : public HelpForm {
public:
    int Menus = 0;

protected:
    void contextMenuEvent(QContextMenuEvent* e) override
    {
        ++Menus;
        e->accept();
    }
};

TEST(VudBase, RightClickOnAChildDoesNotOpenTheFormsMenu)
{
    MenuForm form;
    form.setGeometry(50, 50, 300, 300);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto send = [&](QWidget* target) {
        const QPoint local = target->rect().center();
        QContextMenuEvent e(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
        QApplication::sendEvent(target, &e);
    };
    if (QApplication::widgetAt(form.Edit->mapToGlobal(form.Edit->rect().center())) != form.Edit)
        GTEST_SKIP() << "this platform cannot tell which widget is under a point";
    // The button has no menu of its own: the click passes up to the form, which must not answer.
    send(form.ButtonHelp);
    EXPECT_EQ(form.Menus, 0);
    // A click on the form itself (the margin beside the controls) opens its menu.
    const QPoint margin(2, 2);
    QContextMenuEvent own(QContextMenuEvent::Mouse, margin, form.mapToGlobal(margin));
    QApplication::sendEvent(&form, &own);
    EXPECT_EQ(form.Menus, 1);
}
} // namespace
