// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingDialog.h"

#include "RecordingSession.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

RecordingDialog::RecordingDialog(RecordingSession &session, QWidget *parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("recordingDialog"));
    setWindowTitle(tr("Innspilling"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(tr("&Setninger:"), this);
    phrases_ = new QListWidget(this);
    phrases_->setObjectName(QStringLiteral("phraseList"));
    phrases_->setAccessibleName(tr("Setninger"));
    label->setBuddy(phrases_);
    layout->addWidget(label);
    layout->addWidget(phrases_);
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    // In the order a teacher uses them, which is also the Tab order.
    record_ = addButton("recordButton", tr("Spill &inn"), tr("Spill inn"));
    stop_ = addButton("stopButton", tr("S&topp"), tr("Stopp"));
    listen_ = addButton("listenButton", tr("&Lytt"), tr("Lytt"));
    keep_ = addButton("keepButton", tr("&Behold"), tr("Behold"));
    restore_ = addButton("restoreButton", tr("&Gjenopprett innebygd stemme"), tr("Gjenopprett innebygd stemme"));
    for (QPushButton *button : {record_, stop_, listen_, keep_, restore_})
        buttons->addWidget(button);
    auto *more = new QHBoxLayout;
    layout->addLayout(more);
    export_ = addButton("exportButton", tr("&Eksporter..."), tr("Eksporter innspillingene til en mappe"));
    import_ = addButton("importButton", tr("I&mporter..."), tr("Importer innspillinger fra en mappe"));
    QPushButton *close = addButton("closeButton", tr("Lu&kk"), tr("Lukk"));
    for (QPushButton *button : {export_, import_, close})
        more->addWidget(button);
    level_ = new QProgressBar(this);
    level_->setObjectName(QStringLiteral("levelMeter"));
    level_->setAccessibleName(tr("Lydnivå"));
    level_->setRange(0, 100);
    level_->setValue(0);
    layout->addWidget(level_);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setAccessibleName(tr("Status"));
    layout->addWidget(status_);

    connect(record_, &QPushButton::clicked, &session_, [this] { session_.record(chosen()); });
    connect(stop_, &QPushButton::clicked, &session_, &RecordingSession::stop);
    connect(listen_, &QPushButton::clicked, &session_, [this] { session_.listen(chosen()); });
    connect(keep_, &QPushButton::clicked, &session_, &RecordingSession::keep);
    connect(restore_, &QPushButton::clicked, &session_, [this] { session_.restore(chosen()); });
    connect(export_, &QPushButton::clicked, this, [this] {
        const QString folder
            = QFileDialog::getExistingDirectory(this, tr("Velg mappen innspillingene skal kopieres til"));
        if (!folder.isEmpty())
            session_.exportTo(folder);
    });
    connect(import_, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, tr("Velg mappen med innspillingene"));
        if (!folder.isEmpty())
            session_.importFrom(folder);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(phrases_, &QListWidget::currentRowChanged, this, &RecordingDialog::showState);

    connect(&session_, &RecordingSession::recordingStarted, this, [this] {
        status_->setText(tr("Spiller inn. Snakk nå, og trykk Stopp når du er ferdig."));
        showState();
        stop_->setFocus(); // Space ends the take
    });
    connect(&session_, &RecordingSession::levelChanged, level_, &QProgressBar::setValue);
    connect(&session_, &RecordingSession::recordingStopped, this, [this] {
        level_->setValue(0);
        showState();
    });
    connect(&session_, &RecordingSession::takeReady, this, [this] {
        status_->setText(tr("Lytt til innspillingen, og behold den eller spill inn på nytt."));
        showState();
        listen_->setFocus();
    });
    connect(&session_, &RecordingSession::recordingsChanged, this, &RecordingDialog::showPhrases);
    connect(&session_, &RecordingSession::done, status_, &QLabel::setText);
    connect(&session_, &RecordingSession::problem, this, &RecordingDialog::showProblem);
    showPhrases();
    phrases_->setCurrentRow(0);
}

QPushButton *RecordingDialog::addButton(const char *name, const QString &text, const QString &accessibleName)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(accessibleName);
    button->setAutoDefault(false); // Enter in the list records nothing by accident
    return button;
}

Sound RecordingDialog::chosen() const
{
    return RecordingStore::phrases().value(phrases_->currentRow()); // the welcome when none is chosen
}

void RecordingDialog::showPhrases()
{
    const QList<Sound> phrases = RecordingStore::phrases();
    for (int row = 0; row < phrases.size(); ++row) {
        // Each phrase says whose voice speaks it, so that a blind teacher hears it in the list.
        const Sound sound = phrases.at(row);
        const QString text
            = phraseText(sound) + (session_.hasOwn(sound) ? tr(" (egen innspilling)") : tr(" (innebygd stemme)"));
        if (row < phrases_->count())
            phrases_->item(row)->setText(text);
        else
            phrases_->addItem(text);
    }
    showState();
}

void RecordingDialog::showState()
{
    const bool recording = session_.isRecording();
    phrases_->setEnabled(!recording);
    record_->setEnabled(!recording);
    stop_->setEnabled(recording);
    listen_->setEnabled(!recording);
    keep_->setEnabled(!recording && session_.take() == chosen());
    restore_->setEnabled(!recording && session_.hasOwn(chosen()));
    export_->setEnabled(!recording);
    import_->setEnabled(!recording);
}

void RecordingDialog::showProblem(const QString &text)
{
    status_->setText(text);
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("recordingProblem"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QString RecordingDialog::phraseText(Sound sound)
{
    switch (sound) {
    case Sound::Welcome:
        return tr("Hei, og velkommen til Velkarn!");
    case Sound::ChooseRoomCount:
        return tr("Velg antall rom med piltastene, og trykk Enter.");
    case Sound::ChooseDoor:
        return tr("Velg dør en, to eller tre.");
    case Sound::YouAreInRoom:
        return tr("Du er i rom");
    case Sound::Of:
        return tr("av");
    case Sound::Help:
        return tr("Slik spiller du Velkarn. Hvert rom har tre dører. Dør en er til venstre, dør to er i midten, og "
                  "dør tre er til høyre. Bare én av dem går opp. Trykk en, to eller tre for å velge en dør. Velger du "
                  "feil dør, må du begynne på nytt i det første rommet, men de riktige dørene er de samme, så prøv å "
                  "huske dem. Først velger du hvor mange rom du vil gå gjennom: trykk Tab for å komme til listen, bla "
                  "med piltastene, og trykk Enter. F2 starter et nytt spill. F3 forteller hvilket rom du er i. F1 "
                  "spiller denne hjelpen, og F4 spiller alle lydene i spillet. Pluss gjør lyden høyere, og minus gjør "
                  "den lavere. Kontroll og M gir lyd i begge ører, for deg som hører best på ett øre. Escape eller "
                  "Kontroll stopper lyden. Alt åpner menyene.");
    default:
        if (sound < Sound::Number1)
            return {}; // an effect says nothing
        break;
    }
    // The numbers, as the child hears them counted.
    static const char *const numbers[] = {
        QT_TR_NOOP("en"),      QT_TR_NOOP("to"),     QT_TR_NOOP("tre"),     QT_TR_NOOP("fire"),    QT_TR_NOOP("fem"),
        QT_TR_NOOP("seks"),    QT_TR_NOOP("sju"),    QT_TR_NOOP("åtte"),    QT_TR_NOOP("ni"),      QT_TR_NOOP("ti"),
        QT_TR_NOOP("elleve"),  QT_TR_NOOP("tolv"),   QT_TR_NOOP("tretten"), QT_TR_NOOP("fjorten"), QT_TR_NOOP("femten"),
        QT_TR_NOOP("seksten"), QT_TR_NOOP("sytten"), QT_TR_NOOP("atten"),   QT_TR_NOOP("nitten"),  QT_TR_NOOP("tjue")};
    const int n = static_cast<int>(sound) - static_cast<int>(Sound::Number1) + 1;
    return QStringLiteral("%1: %2").arg(n).arg(tr(numbers[n - 1]));
}
