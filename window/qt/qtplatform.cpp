#include "qtplatform.h"

#include "contrast.h"
#include "qtfonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace {

// Closing the window is the window's decision, as is everything else: report
// it and let quit() end the loop.
class TopLevelWindow : public QWidget {
  public:
    explicit TopLevelWindow(PlatformEvents& events) : m_events(events) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->accept();
        m_events.closeRequested();
    }

  private:
    PlatformEvents& m_events;
};

// Logical pixels: the layout assumes 96 dots per inch, and Qt's high-DPI
// scaling maps logical pixels onto the screen.
int pixels(int twips) {
    return pixelsAt96Dpi(twips);
}

QColor qColor(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Text27's lines are joined by CR LF; Qt keeps lines apart with LF alone.
QString withLineFeeds(std::string_view text) {
    return toQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The instructions: on the desktop's colour, in the text colour that reads
// on it. Qt knows no desktop colour, so the classic default desktop's stands
// in for it, whatever the user's palette; the other roles still follow that
// palette.
void useDesktopColours(QWidget* widget) {
    QPalette palette;
    palette.setColor(QPalette::Base, qColor(classicDesktopColour));
    palette.setColor(QPalette::Text, qColor(textOnDesktop(classicDesktopColour)));
    widget->setPalette(palette);
}

} // namespace

QtPlatform::QtPlatform(std::unique_ptr<QApplication> application)
    : m_application(std::move(application)) {}

QtPlatform::~QtPlatform() = default;

void QtPlatform::createWindow(const WindowLayout& window, std::span<const ControlRow> controls,
                              PlatformEvents& events) {
    m_events = &events;
    m_window = std::make_unique<TopLevelWindow>(events);
    m_window->setObjectName(toQString(window.name));
    m_window->setWindowTitle(toQString(window.caption));
    // Resolved once and shared: the children inherit the dialog font, and
    // every bold control holds a copy of the one bold font.
    m_window->setFont(dialogFont());
    m_boldFont = boldSystemFont();
    m_window->setFixedSize(pixels(window.clientWidth), pixels(window.clientHeight));

    m_controls.assign(controls.size(), nullptr);
    for (std::size_t i = 0; i < controls.size(); ++i)
        createControl(controls[i], i);
    setTabOrder(controls);

    m_window->show();
    m_window->activateWindow();
    const auto first = std::find_if(controls.begin(), controls.end(),
                                    [](const ControlRow& c) { return c.focusOrder == 0; });
    if (first != controls.end())
        m_controls[static_cast<std::size_t>(first - controls.begin())]->setFocus(
            Qt::OtherFocusReason);
}

void QtPlatform::createControl(const ControlRow& row, std::size_t index) {
    QWidget* parent = row.parent == noParent ? m_window.get()
                                             : m_controls.at(static_cast<std::size_t>(row.parent));
    const QString text = toQString(row.text);
    // Each widget takes its font and colours before its text: a line edit
    // lays its text out again on every change of font, and an empty text
    // costs next to nothing to lay out.
    const auto create = [&]<typename Widget>(Widget* widget) {
        if (row.font == FontRole::boldSystem)
            widget->setFont(m_boldFont);
        if (row.colours == ColourRole::desktop)
            useDesktopColours(widget);
        return widget;
    };
    QWidget* widget = nullptr;

    switch (row.kind) {
    case ControlKind::groupBox:
        widget = create(new QGroupBox(parent));
        break;
    case ControlKind::label: {
        auto* label = create(new QLabel(parent));
        label->setText(text);
        // A classic label draws its text from the top; the layout's places
        // line the grain names up with their fields that way.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        break;
    }
    case ControlKind::edit: {
        auto* edit = create(new QLineEdit(parent));
        edit->setText(text);
        // Reported for typing and for setText alike, before either returns.
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [this, index] { m_events->textChanged(index); });
        widget = edit;
        break;
    }
    case ControlKind::multiLineEdit: {
        auto* edit = create(new QPlainTextEdit(parent));
        // Lines are centred with blanks; wrapping would break them apart.
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setTabChangesFocus(true);
        // Like the classic text box it copies: no scroll bars. The lines that
        // carry words all fit; only the trailing blank lines run below.
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setPlainText(withLineFeeds(row.text));
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [this, index] { m_events->textChanged(index); });
        widget = edit;
        break;
    }
    case ControlKind::button: {
        auto* button = create(new QPushButton(parent));
        button->setText(text);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, button,
                         [this, index] { m_events->clicked(index); });
        widget = button;
        break;
    }
    }

    widget->setObjectName(toQString(row.name));
    widget->setAccessibleName(toQString(row.accessibleName));
    widget->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height));
    if (row.focusOrder == noFocus)
        widget->setFocusPolicy(Qt::NoFocus);
    // Hidden fields keep their texts for the recalculation and are never
    // shown. The others are shown with the window.
    if (!row.visible)
        widget->hide();
    m_controls[index] = widget;
}

void QtPlatform::setTabOrder(std::span<const ControlRow> controls) {
    std::vector<QWidget*> chain;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const int order = controls[i].focusOrder;
        if (order == noFocus)
            continue;
        if (chain.size() <= static_cast<std::size_t>(order))
            chain.resize(static_cast<std::size_t>(order) + 1, nullptr);
        chain[static_cast<std::size_t>(order)] = m_controls[i];
    }
    std::erase(chain, nullptr);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

std::string QtPlatform::text(std::size_t control) const {
    QWidget* widget = m_controls.at(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        return edit->toPlainText().replace(QChar('\n'), QStringLiteral("\r\n")).toStdString();
    return {}; // only edit fields have a text of their own
}

void QtPlatform::setText(std::size_t control, std::string_view text) {
    QWidget* widget = m_controls.at(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(toQString(text));
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        edit->setPlainText(withLineFeeds(text));
}

void QtPlatform::setNote(std::size_t control, std::string_view note) {
    QWidget* widget = m_controls.at(control);
    // Only the mark's two colours are the widget's own; every other role
    // follows the application's palette, also when the user changes it while
    // the program runs. An empty palette gives the field back to it whole.
    QPalette palette;
    if (!note.empty()) {
        palette.setColor(QPalette::Base, qColor(invalidAmountColour));
        palette.setColor(QPalette::Text, qColor(invalidAmountTextColour));
    }
    widget->setPalette(palette);
    widget->setToolTip(toQString(note));
}

void QtPlatform::showMessage(std::string_view title, std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, toQString(title), toQString(text), QMessageBox::Ok,
                    m_window.get());
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

int QtPlatform::run() {
    return QApplication::exec();
}

void QtPlatform::quit() {
    // hide(), not close(): closing would report closeRequested once more.
    if (m_window)
        m_window->hide();
    QCoreApplication::exit(0);
}
