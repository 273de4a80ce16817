// The start form's resource: components with their names, captions and geometry.
#include "tform2.h"

#include "bgr_color.h"
#include "component_place.h"

#include <QPixmap>

void TForm2::CreateComponents() {
    setObjectName("Form2");
    setWindowTitle("KOVAPRO");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(400, 185);
    set_background_color(this, 16578030);

    IM_Logo = place(new TLabel(this), "IM_Logo", QRect(104, 10, 185, 77));
    const QPixmap logo(":/kova/logo.png");
    IM_Logo->setPixmap(logo);
    if (!logo.isNull()) IM_Logo->resize(logo.size());  // sized to its picture

    // The list is not for the user's clicks: the checks tick its boxes. Disabling it would grey the coloured
    // results, so it only lets no mouse event through.
    GP_InitialList = place(new QGroupBox(this), "GP_InitialList", QRect(10, 93, 380, 55));
    GP_InitialList->setAttribute(Qt::WA_TransparentForMouseEvents);
    GP_InitialList->setFocusPolicy(Qt::NoFocus);
    // 156 pixels: the longer caption must fit beside its box in the default sans font.
    CB_Ini_SysFileChk = place(new QCheckBox("System File Checking...", GP_InitialList), "CB_Ini_SysFileChk",
                              QRect(10, 10, 156, 17));
    CB_Ini_SysFirmChk = place(new QCheckBox("Firmware Checking...", GP_InitialList), "CB_Ini_SysFirmChk",
                              QRect(10, 30, 156, 17));
    for (QCheckBox* box : {CB_Ini_SysFileChk, CB_Ini_SysFirmChk}) {
        box->setEnabled(false);
        box->setFocusPolicy(Qt::NoFocus);
    }
    L_Ini_SysFileChk = place(new TLabel(GP_InitialList), "L_Ini_SysFileChk", QRect(168, 12, 206, 16));
    L_Ini_SysFirmChk = place(new TLabel(GP_InitialList), "L_Ini_SysFirmChk", QRect(168, 32, 206, 16));
    B_Ini_Cancel = place(new QPushButton("Cancel", this), "B_Ini_Cancel", QRect(100, 154, 200, 25));
    B_Ini_Cancel->setEnabled(false);
    connect(B_Ini_Cancel, &QPushButton::clicked, this, [this] { B_Ini_CancelClick(); });
}

// Top to bottom: the logo centred, the list 10 pixels below it, Cancel 10 below the list, 10 to the bottom.
void TForm2::LayOut() {
    IM_Logo->move((width() - IM_Logo->width()) / 2, IM_Logo->y());
    GP_InitialList->move(GP_InitialList->x(), IM_Logo->y() + IM_Logo->height() + 10);
    B_Ini_Cancel->move(B_Ini_Cancel->x(), GP_InitialList->y() + GP_InitialList->height() + 10);
    setFixedHeight(B_Ini_Cancel->y() + B_Ini_Cancel->height() + 10);
}
