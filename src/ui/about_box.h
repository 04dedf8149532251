#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the program's title and version, a short description and
// the two contact links. It lives only while it is shown; whoever opens it
// fills ATitle and AVersion and connects the two link signals to its own
// contact commands.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* owner = nullptr);

    QLabel* ATitle = nullptr;
    QLabel* AVersion = nullptr;
    QLabel* ADescription = nullptr;
    QLabel* Label1 = nullptr;  // "Autor:"
    QLabel* Label2 = nullptr;  // "Strona domowa:"
    QLabel* Label3 = nullptr;  // the author's name, a mail link
    QLabel* Label4 = nullptr;  // the home-page address, a web link
    QPushButton* Button1 = nullptr;

signals:
    // The box stays open while the owner runs its command.
    void AuthorLinkClicked();
    void HomePageLinkClicked();

public slots:
    void Label3Click();
    void Label4Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormPaint();
    void CentreOverOwner();
};
