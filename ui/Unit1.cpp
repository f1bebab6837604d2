#include "ui/Unit1.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <utility>

#include "ui/about.h"
#include "ui/announcer.h"
#include "ui/box_label.h"
#include "ui/box_shape.h"
#include "ui/error_box.h"
#include "ui/late_alt_filter.h"
#include "ui/scores.h"
#include "ui/spin_field.h"
#include "ui/whole_characters.h"
#include "ui/window_font.h"
#include "ui/window_placement.h"

using tandrel::ui::BoxLabel;
using tandrel::ui::BoxShape;
using tandrel::ui::Guarded;
using tandrel::ui::NumericSpinField;

Tmain* mainform = nullptr;

namespace {

// Pixel values for a 96 dpi screen; Qt scales them on denser ones.
constexpr QPoint kFrameTopLeft{202, 109};  // the outer frame's corner
constexpr QSize kOuterSize{237, 307};      // frame, caption and menu bar included

constexpr int kBoxSide = 65;
constexpr QPoint kLabelOffset{16, 24};  // a box label's place inside its square
constexpr int kGridColumns = 3;

template <class Label>
Label* PlaceLabel(Label* label, const QString& name, QPoint position) {
    label->setObjectName(name);
    label->move(position);
    label->adjustSize();
    return label;
}

template <class Object>
Object* Named(Object* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

template <class Widget>
Widget* Place(Widget* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* NewLabel(QWidget* client, const char* name, const char* text, QPoint position) {
    return PlaceLabel(new QLabel(QString::fromLatin1(text), client), QString::fromLatin1(name),
                      position);
}

}  // namespace

// One box: the members that hold its square and label, the label's click
// handler, the square's place in the client area, its fill and the fill's name.
struct Tmain::Box {
    BoxShape* Tmain::*shape;
    BoxLabel* Tmain::*label;
    void (Tmain::*click)();
    QPoint position;
    QColor fill;
    const char* colour;
};

const std::array<Tmain::Box, 6>& Tmain::Boxes() {
    using T = Tmain;  // short, so that each box fits one row
    // Reading order: top row left to right, then the bottom row.
    static const std::array<Box, 6> boxes{{
        {&T::Shape1, &T::BOX1, &T::BOX1Click, {8, 8}, QColor(255, 255, 0), "yellow"},
        {&T::Shape2, &T::BOX2, &T::BOX2Click, {80, 8}, QColor(255, 0, 0), "red"},
        {&T::Shape3, &T::BOX3, &T::BOX3Click, {152, 8}, QColor(0, 128, 0), "green"},
        {&T::Shape4, &T::BOX4, &T::BOX4Click, {8, 88}, QColor(0, 0, 255), "blue"},
        {&T::Shape5, &T::BOX5, &T::BOX5Click, {80, 88}, QColor(0, 0, 0), "black"},
        {&T::Shape6, &T::BOX6, &T::BOX6Click, {152, 88}, QColor(255, 255, 255), "white"},
    }};
    return boxes;
}

Tmain::Tmain(tandrel::core::GameState& state, tandrel::core::ResultWriter& results,
             const tandrel::core::ClockSource& clock, std::function<std::string()> scoreLogPath,
             QWidget* parent)
    : QMainWindow(parent),
      timer1Service_([this] { Timer1.Tick(); }),
      timer2Service_([this] { Timer2.Tick(); }),
      Timer1(timer1Service_, 2000),
      Timer2(timer2Service_, 1000),
      scoreLogPath_(std::move(scoreLogPath)),
      game_(state, *this, clock, results) {
    mainform = this;
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QCoreApplication::applicationName());
    setFont(tandrel::ui::WindowFont());
    tandrel::ui::PlaceByFrame(*this, kFrameTopLeft, kOuterSize);

    auto* client = new QWidget(this);
    setCentralWidget(client);
    CreateBoxes(client);
    CreateFields(client);
    CreateMenu();
    ConnectHandlers();
    Guarded([this] { FormCreate(); });
}

Tmain::~Tmain() {
    // The controls outlive the engine while QWidget tears them down; no late
    // signal from them may reach a handler.
    for (QObject* control : findChildren<QObject*>()) {
        control->disconnect(this);
    }
    if (mainform == this) {
        mainform = nullptr;
    }
}

void Tmain::CreateBoxes(QWidget* client) {
    std::array<BoxLabel*, 6> labels{};
    for (std::size_t i = 0; i < Boxes().size(); ++i) {
        const Box& box = Boxes()[i];
        const QString number = QString::number(i + 1);
        // Each label lies inside its own square alone, so the label, created
        // after its square, is drawn above it.
        auto* shape = new BoxShape(client);
        shape->setObjectName(QStringLiteral("Shape") + number);
        shape->setGeometry(QRect(box.position, QSize(kBoxSide, kBoxSide)));
        const QString name = QStringLiteral("BOX") + number;
        auto* label = PlaceLabel(new BoxLabel(name, client), name, box.position + kLabelOffset);
        label->setAccessibleDescription(QString::fromLatin1(box.colour));
        this->*box.shape = shape;
        this->*box.label = label;
        labels[i] = label;
    }
    tandrel::ui::LinkAsGrid(labels, kGridColumns);
    announcer_ = new tandrel::ui::Announcer(client);
}

void Tmain::CreateFields(QWidget* client) {
    Label1 = NewLabel(client, "Label1", "Sequence", {128, 176});
    Edit1 = Place(new QLineEdit(client), "Edit1", {184, 168, 33, 21});
    Edit1->setReadOnly(true);
    Edit1->setEnabled(false);
    Label2 = NewLabel(client, "Label2", "Amount", {64, 176});
    // Loaded before any handler is connected, so no change event fires.
    spinamount = Place(new NumericSpinField(3, 255, 3, client), "spinamount", {8, 168, 49, 22});
    Label3 = NewLabel(client, "Label3", "Time", {64, 208});
    spintime = Place(new NumericSpinField(1, 255, 1, client), "spintime", {8, 200, 49, 22});
    Label4 = NewLabel(client, "Label4", "Name", {8, 240});
    namedit = Place(new QLineEdit(client), "namedit", {48, 232, 169, 21});
    namedit->setValidator(new tandrel::ui::WholeCharacters(namedit));

    // Each field is named after the label beside it. The texts have no
    // access key, so the labels take no keys.
    Label1->setBuddy(Edit1);
    Label2->setBuddy(spinamount);
    Label3->setBuddy(spintime);
    Label4->setBuddy(namedit);

    setTabOrder(Edit1, spinamount);
    setTabOrder(spinamount, spintime);
    setTabOrder(spintime, namedit);
    // The box labels follow the fields, in reading order.
    QWidget* previous = namedit;
    for (const Box& box : Boxes()) {
        setTabOrder(previous, this->*box.label);
        previous = this->*box.label;
    }
    // The first enabled field in tab order, entered as by Tab: its text is
    // selected, so that typing replaces it. The window's activation hands it
    // the focus later, for a reason that selects nothing.
    spinamount->setFocus();
    spinamount->selectAll();
}

void Tmain::CreateMenu() {
    // Access keys only: no item has a keyboard shortcut.
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    File1 = Named(MainMenu1->addMenu(QStringLiteral("&File")), "File1");
    Go1 = Named(File1->addAction(QStringLiteral("&Go")), "Go1");
    Exit1 = Named(File1->addAction(QStringLiteral("E&xit")), "Exit1");
    View1 = Named(MainMenu1->addMenu(QStringLiteral("&View")), "View1");
    Scores1 = Named(View1->addAction(QStringLiteral("&Scores")), "Scores1");
    Help1 = Named(MainMenu1->addMenu(QStringLiteral("&Help")), "Help1");
    About1 = Named(Help1->addAction(QStringLiteral("&About")), "About1");
    // Keep every item in its own menu: no platform moves About or Exit elsewhere.
    for (QAction* item : {Go1, Exit1, Scores1, About1}) {
        item->setMenuRole(QAction::NoRole);
    }
    for (QMenu* menu : {File1, View1, Help1}) {
        tandrel::ui::KeepOpenOnLateAltPress(*menu);
    }
}

void Tmain::ConnectHandlers() {
    // Every entry from Qt passes the guard, so no error crosses a Qt frame.
    const auto guard = [this](void (Tmain::*handler)()) {
        return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
    };
    for (const Box& box : Boxes()) {
        connect(this->*box.label, &BoxLabel::Clicked, this, guard(box.click));
    }
    connect(Go1, &QAction::triggered, this, guard(&Tmain::Go1Click));
    connect(Exit1, &QAction::triggered, this, guard(&Tmain::Exit1Click));
    connect(Scores1, &QAction::triggered, this, guard(&Tmain::Scores1Click));
    connect(About1, &QAction::triggered, this, guard(&Tmain::About1Click));
    connect(spinamount, &NumericSpinField::Changed, this, guard(&Tmain::spinamountChange));
    connect(spintime, &NumericSpinField::Changed, this, guard(&Tmain::spintimeChange));
    // The clocks' system timers already tick through the guard.
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer2.SetHandler([this] { Timer2Timer(); });
}

void Tmain::FormCreate() {
    for (const Box& box : Boxes()) {
        BoxShape* shape = this->*box.shape;
        shape->SetFill(box.fill);
        shape->hide();
    }
    game_.GameSetUp();
}

void Tmain::Go1Click() { game_.StartGame(); }
void Tmain::Exit1Click() { close(); }
void Tmain::Scores1Click() { tandrel::ui::ShowScores(scoreLogPath_); }
void Tmain::About1Click() { tandrel::ui::ShowAbout(); }

void Tmain::Timer1Timer() {
    game_.PlaybackTick();
    AnnounceTick();
}

void Tmain::Timer2Timer() { game_.EndCheckTick(); }

// Says what the tick left on screen: the flash's number and the box it lit,
// or the end of the playback. Said once the tick is done, so that the box the
// closing tick lights and hides again, which nobody sees, is never heard.
void Tmain::AnnounceTick() {
    if (!Timer1.Enabled()) {
        announcer_->Announce(QStringLiteral("Playback over"));
        return;
    }
    QString lit = QStringLiteral("no box");
    for (const Box& box : Boxes()) {
        if (!(this->*box.shape)->isHidden()) {
            lit = (this->*box.label)->Text() + QLatin1Char(' ') + QLatin1String(box.colour);
        }
    }
    announcer_->Announce(QStringLiteral("Flash %1: %2").arg(Edit1->text(), lit));
}

void Tmain::BOX1Click() { game_.BoxClick(1); }
void Tmain::BOX2Click() { game_.BoxClick(2); }
void Tmain::BOX3Click() { game_.BoxClick(3); }
void Tmain::BOX4Click() { game_.BoxClick(4); }
void Tmain::BOX5Click() { game_.BoxClick(5); }
void Tmain::BOX6Click() { game_.BoxClick(6); }
void Tmain::spinamountChange() { game_.SetAmount(spinamount->Value()); }

void Tmain::spintimeChange() {
    // A 32-bit product modulo 2^32, as the clock stores it: a negative or
    // huge value becomes a period that never ticks.
    Timer1.SetInterval(static_cast<std::uint32_t>(spintime->Value()) * 1000u);
}

void Tmain::HideAllBoxes() {
    for (const Box& box : Boxes()) {
        (this->*box.shape)->hide();
    }
}

void Tmain::ShowBox(int box) {
    if (box >= 1 && box <= static_cast<int>(Boxes().size())) {
        (this->*Boxes()[static_cast<std::size_t>(box - 1)].shape)->show();
    }
}

void Tmain::ShowSequence(int number) { Edit1->setText(QString::number(number)); }
std::string Tmain::NameText() const { return namedit->text().toStdString(); }
void Tmain::SetPlaybackClockEnabled(bool enabled) { Timer1.SetEnabled(enabled); }
void Tmain::SetEndCheckClockEnabled(bool enabled) { Timer2.SetEnabled(enabled); }
void Tmain::ShowScores() { tandrel::ui::ShowScores(scoreLogPath_); }
