#pragma once

#include "importexport/ImpBrowser.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace hv {

class TSettings;

// "ブラウザで表示しているURLのインポート": the pages the two browsers show, one chosen with the
// radio buttons and editable before it is added. Modal; its place is kept.
class TImpBrowserDlg : public QDialog {
    Q_OBJECT

public:
    explicit TImpBrowserDlg(TSettings* settings, QWidget* parent = nullptr);
    ~TImpBrowserDlg() override;

    // Each radio button enabled when its browser answered; the Chromium-family answer chosen
    // unless the Firefox one is preferred or it did not answer.
    void Load(const TBrowserAnswer& chromium, const TBrowserAnswer& firefox, bool firefoxFirst);
    // The page as the edits hold it (Found).
    TBrowserAnswer Result() const;
    bool DontConfirm() const;

    QRadioButton* rdbIE;
    QRadioButton* rdbNN;
    QLineEdit* edtTitle;
    QLineEdit* edtURL;
    QCheckBox* chkDontConfirm;

private:
    void Fill(const TBrowserAnswer& answer);

    TSettings* m_Settings;
    TBrowserAnswer m_Chromium;
    TBrowserAnswer m_Firefox;
};

} // namespace hv
