#pragma once
// TfmShowImage: shows a picture on top of the other windows: a chip's
// picture, or a calculator's, which the user may then replace by another
// file (Ctrl and a left click on the picture) and save as that calculator's
// picture.
#include <QPointer>
#include <QWidget>

#include <string>

class QLabel;
class QPushButton;
class QScrollArea;

class TfmShowImage : public QWidget {
public:
    explicit TfmShowImage(QWidget* parent = nullptr);

    // Set by the caller before showing.
    bool EditMode = false;    // the picture may be replaced and saved
    std::string PicturePath;  // with or without extension
    std::string Title;        // the caption

    QScrollArea* ScrollBox1;
    QLabel* Image1;
    QWidget* Panel1;              // the button bar
    QPushButton* SpeedButton1;    // Close
    QPushButton* SpeedButton2;    // Save

    // Shows the window with the fields as set, or, when it shows already,
    // takes them over at once.
    void ShowPicture();
    // Shows the picture PicturePath names (as is, else with ".bmp", else
    // with ".jpg"); a missing file hides the picture, one that is no
    // picture shows nothing.
    void LoadPicture();
    // Ctrl and a left click: a picture file is picked and shown, ready to
    // be saved. Nothing unless in EditMode.
    void ReplacePicture();
    // Stores the shown picture as the picture of the calculator last chosen
    // (LastCalc); a failure is shown and Save stays enabled.
    void SpeedButton2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Prepare();
    void PlaceButtons();
    void FreePicture();
};

// The program's picture viewer, made on first use and handed to each new
// owner (and gone with the last one): a modal window blocks every window but
// its own, so a viewer opened from one must belong to it to be usable.
extern QPointer<TfmShowImage> fmShowImage;
TfmShowImage& ShowImageWindow(QWidget* owner);
