#include "messagedismisser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>

MessageDismisser::MessageDismisser() {
    // A zero timer fires inside the box's own event loop, once it is shown.
    QObject::connect(&m_timer, &QTimer::timeout, [this] { dismissShownBox(); });
    m_timer.start(0);
}

void MessageDismisser::dismissShownBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    m_texts.push_back(box->text().toStdString());
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
}
