#include "ui/Unit1.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <utility>

#include "ui/about.h"
#include "ui/box_label.h"
#include "ui/box_shape.h"
#include "ui/error_box.h"
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

struct BoxLook {
    QPoint position;
    QColor fill;
};

// Reading order: top row left to right, then the bottom row.
const std::array<BoxLook, 6> kBoxes{{
    {{8, 8}, QColor(255, 255, 0)},
    {{80, 8}, QColor(255, 0, 0)},
    {{152, 8}, QColor(0, 128, 0)},
    {{8, 88}, QColor(0, 0, 255)},
    {{80, 88}, QColor(0, 0, 0)},
    {{152, 88}, QColor(255, 255, 255)},
}};

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

BoxShape* NewShape(QWidget* client, std::size_t index) {
    auto* shape = new BoxShape(client);
    shape->setObjectName(QStringLiteral("Shape%1").arg(index + 1));
    shape->setGeometry(QRect(kBoxes[index].position, QSize(kBoxSide, kBoxSide)));
    return shape;
}

BoxLabel* NewBoxLabel(QWidget* client, std::size_t index) {
    const QString name = QStringLiteral("BOX%1").arg(index + 1);
    return PlaceLabel(new BoxLabel(name, client), name, kBoxes[index].position + kLabelOffset);
}

}  // namespace

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
    // The squares come first so that the labels, created later, lie above them.
    Shape1 = NewShape(client, 0);
    Shape2 = NewShape(client, 1);
    Shape3 = NewShape(client, 2);
    Shape4 = NewShape(client, 3);
    Shape5 = NewShape(client, 4);
    Shape6 = NewShape(client, 5);
    BOX1 = NewBoxLabel(client, 0);
    BOX2 = NewBoxLabel(client, 1);
    BOX3 = NewBoxLabel(client, 2);
    BOX4 = NewBoxLabel(client, 3);
    BOX5 = NewBoxLabel(client, 4);
    BOX6 = NewBoxLabel(client, 5);
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

    setTabOrder(Edit1, spinamount);
    setTabOrder(spinamount, spintime);
    setTabOrder(spintime, namedit);
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
}

void Tmain::ConnectHandlers() {
    // Every entry from Qt passes the guard, so no error crosses a Qt frame.
    const auto guard = [this](void (Tmain::*handler)()) {
        return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
    };
    connect(Go1, &QAction::triggered, this, guard(&Tmain::Go1Click));
    connect(Exit1, &QAction::triggered, this, guard(&Tmain::Exit1Click));
    connect(Scores1, &QAction::triggered, this, guard(&Tmain::Scores1Click));
    connect(About1, &QAction::triggered, this, guard(&Tmain::About1Click));
    connect(BOX1, &BoxLabel::Clicked, this, guard(&Tmain::BOX1Click));
    connect(BOX2, &BoxLabel::Clicked, this, guard(&Tmain::BOX2Click));
    connect(BOX3, &BoxLabel::Clicked, this, guard(&Tmain::BOX3Click));
    connect(BOX4, &BoxLabel::Clicked, this, guard(&Tmain::BOX4Click));
    connect(BOX5, &BoxLabel::Clicked, this, guard(&Tmain::BOX5Click));
    connect(BOX6, &BoxLabel::Clicked, this, guard(&Tmain::BOX6Click));
    connect(spinamount, &NumericSpinField::Changed, this, guard(&Tmain::spinamountChange));
    connect(spintime, &NumericSpinField::Changed, this, guard(&Tmain::spintimeChange));
    // The clocks' system timers already tick through the guard.
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer2.SetHandler([this] { Timer2Timer(); });
}

void Tmain::FormCreate() {
    const auto shapes = Shapes();
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        shapes[i]->SetFill(kBoxes[i].fill);
        shapes[i]->hide();
    }
    game_.GameSetUp();
}

void Tmain::Go1Click() { game_.StartGame(); }
void Tmain::Exit1Click() { close(); }
void Tmain::Scores1Click() { tandrel::ui::ShowScores(scoreLogPath_); }
void Tmain::About1Click() { tandrel::ui::ShowAbout(); }
void Tmain::Timer1Timer() { game_.PlaybackTick(); }
void Tmain::Timer2Timer() { game_.EndCheckTick(); }
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
    for (BoxShape* shape : Shapes()) {
        shape->hide();
    }
}

void Tmain::ShowBox(int box) {
    if (box >= 1 && box <= 6) {
        Shapes()[static_cast<std::size_t>(box - 1)]->show();
    }
}

void Tmain::ShowSequence(int number) { Edit1->setText(QString::number(number)); }
std::string Tmain::NameText() const { return namedit->text().toStdString(); }
void Tmain::SetPlaybackClockEnabled(bool enabled) { Timer1.SetEnabled(enabled); }
void Tmain::SetEndCheckClockEnabled(bool enabled) { Timer2.SetEnabled(enabled); }
void Tmain::ShowScores() { tandrel::ui::ShowScores(scoreLogPath_); }

std::array<BoxShape*, 6> Tmain::Shapes() const {
    return {Shape1, Shape2, Shape3, Shape4, Shape5, Shape6};
}
