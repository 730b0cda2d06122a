#pragma once

#include "form1.h"
#include "form1layout.h"
#include "qtplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using Texts = std::vector<std::string>;

// A real Form1 over real Qt widgets, looked up by their control names.
class QtWindowTest : public ::testing::Test {
  protected:
    QtWindowTest() : m_form(m_platform) {}

    QWidget* window() const { return m_platform.window(); }

    template <typename Widget = QWidget> Widget* find(std::string_view name) const {
        const QString objectName = QString::fromUtf8(name.data(), qsizetype(name.size()));
        if (objectName == window()->objectName())
            return qobject_cast<Widget*>(window());
        return window()->findChild<Widget*>(objectName);
    }

    QLineEdit* field(std::string_view name) const { return find<QLineEdit>(name); }
    std::string textOf(std::string_view name) const { return field(name)->text().toStdString(); }

    // What a user does to replace a field's text: select all of it, then type.
    void selectAndType(std::string_view name, const char* keys) {
        QLineEdit* edit = field(name);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClicks(edit, keys);
    }

    void makeActive() {
        window()->activateWindow();
        QApplication::setActiveWindow(window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    }

    QtPlatform m_platform;
    Form1 m_form;
};

// The input fields in the order a mix adds them up.
inline std::vector<std::string> inputNames() {
    std::vector<std::string> names;
    for (int i = 1; i <= 28; ++i)
        if (i != 27)
            names.push_back("Text" + std::to_string(i));
    return names;
}

// What the window looked like while the message box was up.
struct SeenMessage {
    std::string text;
    std::string title;
    int buttons = 0;
    bool okButton = false;
    QMessageBox::Icon icon = QMessageBox::Information;
    bool windowModal = false;
    std::string amount;
};

// Dismisses every message box as soon as it is shown, noting what it said and
// what the fields held at that moment.
class MessageWatcher {
  public:
    explicit MessageWatcher(std::function<std::string(std::string_view)> textOf)
        : m_textOf(std::move(textOf)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { dismiss(); });
        m_timer.start(0);
    }
    const std::vector<SeenMessage>& seen() const { return m_seen; }

  private:
    void dismiss() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        SeenMessage m;
        m.text = box->text().toStdString();
        m.title = box->windowTitle().toStdString();
        m.buttons = static_cast<int>(box->buttons().size());
        m.okButton = box->button(QMessageBox::Ok) != nullptr;
        m.icon = box->icon();
        m.windowModal = box->isModal();
        m.amount = m_textOf("amount");
        m_seen.push_back(m);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    }

    std::function<std::string(std::string_view)> m_textOf;
    QTimer m_timer;
    std::vector<SeenMessage> m_seen;
};
