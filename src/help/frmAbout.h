#pragma once

#include "help/SysInfoPlatform.h"

#include <QDialog>
#include <QString>

#include <cstdint>

class QLabel;
class QPushButton;

// The modal About dialog: title, version, the maker's address and notice, an OK
// button and a button that starts the system-information viewer.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    // Starts the system-information viewer, or tells the user that there is none.
    void StartSysInfo();

    // Reads a registry value as text; false, with KeyVal empty, when it is missing.
    bool GetKeyValue(std::int32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    void Form_Load();
    void ArrangeControls();
    // How much the drawn layout must grow for every text to fit whole (1: not at all).
    double RoomForText() const;
    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Converts a length in twips to pixels at the screen's logical resolution, grown by scale_.
    int Twips(int twips) const;

    help::SysInfoPlatform platform_;
    double dpi_;
    double scale_ = 1;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblAddress = nullptr;
    QLabel* lblMessage = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};
