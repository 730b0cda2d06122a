#include "qtplatform.h"

#include "contrast.h"
#include "qtfonts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Closing the window is the window's decision, as is everything else: report
// it and let quit() end the loop. A change of the fonts the captions are
// drawn in, or of the screen or scale they are drawn at, is passed on.
class TopLevelWindow : public QWidget {
  public:
    TopLevelWindow(PlatformEvents& events, std::function<void()> drawingChanged)
        : m_events(events), m_drawingChanged(std::move(drawingChanged)) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->accept();
        m_events.closeRequested();
    }

    bool event(QEvent* event) override {
        switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::ApplicationFontChange:
        case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        case QEvent::DevicePixelRatioChange:
#endif
            m_drawingChanged();
            break;
        default:
            break;
        }
        return QWidget::event(event);
    }

  private:
    PlatformEvents& m_events;
    std::function<void()> m_drawingChanged;
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
    : m_application(std::move(application)) {
    m_pause.setSingleShot(true);
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::createWindow(const WindowLayout& window, std::span<const ControlRow> controls,
                              PlatformEvents& events) {
    m_events = &events;
    m_table = controls;
    // The fonts set while the window is made are no change to fit again for:
    // it is fitted once it is shown.
    m_fitting = true;
    m_window = std::make_unique<TopLevelWindow>(events, [this] { refitLater(); });
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
    createFiguresNotice();
    QObject::connect(&m_pause, &QTimer::timeout, m_window.get(),
                     [this] { m_events->pauseEnded(); });

    m_window->show();
    // The text box's room is known once it is shown, and nothing is painted
    // before the event loop runs.
    fitCaptions();
    QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, m_window.get(),
                     [this] { refitLater(); });
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

namespace {

// The room a control gives its text, in logical pixels, and its lines.
struct Caption {
    QSize room;
    QStringList lines;
    bool scrolls = false;
};

Caption captionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        // A field that stands over the label's end hides what runs under it.
        QRect room = label->contentsRect();
        for (QWidget* other :
             label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!qobject_cast<QLabel*>(other) && !other->isHidden() &&
                other->geometry().intersects(label->geometry()) && other->x() > label->x())
                room.setRight(std::min(room.right(), other->x() - label->x() - 1));
        }
        return {room.size(), {label->text()}};
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return {
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size(),
            {button->text()}};
    }
    auto* edit = qobject_cast<QPlainTextEdit*>(widget);
    // Its lines start inside the document's margin and scroll downwards.
    const int margin = static_cast<int>(std::ceil(edit->document()->documentMargin()));
    return {edit->viewport()->size() - QSize(margin, 0), edit->toPlainText().split(QChar('\n')),
            true};
}

} // namespace

void QtPlatform::fitCaptions() {
    m_fitting = true;
    const QFont dialog = m_window->font();
    const qreal ratio = m_window->devicePixelRatioF();
    for (std::size_t i = 0; i < m_table.size(); ++i) {
        const ControlRow& row = m_table[i];
        const QFont& role = row.font == FontRole::boldSystem ? m_boldFont : dialog;
        if (!captionFitted(row.kind)) {
            if (row.font == FontRole::boldSystem)
                m_controls[i]->setFont(role);
            continue;
        }
        const Caption caption = captionOf(m_controls[i]);
        const CaptionRoom room{static_cast<int>(std::floor(caption.room.width() * ratio)),
                               caption.scrolls
                                   ? anyHeight
                                   : static_cast<int>(std::floor(caption.room.height() * ratio))};
        m_controls[i]->setFont(fittedFont(role, caption.lines, room, ratio));
    }
    m_fitting = false;
}

void QtPlatform::refitLater() {
    // Fitting sets fonts, which is reported as a change too; and one change
    // of scale comes as several events: fit once, after them.
    if (m_fitting || m_refitPending || !m_window)
        return;
    m_refitPending = true;
    QTimer::singleShot(0, m_window.get(), [this] {
        m_fitting = true;
        m_window->setFont(dialogFont());
        m_boldFont = boldSystemFont();
        fitCaptions();
        m_refitPending = false;
    });
}

// Where a screen reader hears the figures. Qt 6.4's AT-SPI bridge drops
// alerts and Orca ignores a changed name on anything without the focus, but
// Orca speaks a notification as soon as it is shown, wherever the focus is.
// So: a widget with no size, no focus and nothing to paint, whose accessible
// role is a notification. The window looks as it did without it.
void QtPlatform::createFiguresNotice() {
    m_figuresNotice = new QWidget(m_window.get());
    m_figuresNotice->setObjectName(QStringLiteral("figures"));
    m_figuresNotice->setGeometry(0, 0, 0, 0);
    m_figuresNotice->setFocusPolicy(Qt::NoFocus);
    m_figuresNotice->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Registered before anything asks for its interface, so that this is the
    // one Qt hands out; Qt deletes it with the widget.
    QAccessible::registerAccessibleInterface(
        new QAccessibleWidget(m_figuresNotice, QAccessible::Notification));
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

void QtPlatform::startPause(std::chrono::milliseconds length) {
    m_pause.start(length);
}

void QtPlatform::announce(std::string_view sentence) {
    m_figuresNotice->setAccessibleName(toQString(sentence));
    QAccessibleEvent shown(m_figuresNotice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
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
