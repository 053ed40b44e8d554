#pragma once

#include "platform/skin/OleColor.h"

class QWidget;
class Skin;
class SkinLabelArray;

// The program's one skin, the splash window's skin control.
extern Skin* objSkin;

// Colours, region and skin for one window; a failing step is skipped and the
// next one runs. Never fails.
void ApplySkin(QWidget* window);

// Recolours the window's controls by type: buttons take c1 as background,
// text and list-type controls c1 and c2 as background and text, picture
// boxes c3. A colour that cannot be given ends the recolouring there.
void ApplySkinColors(QWidget* window, OleColor c1, OleColor c2, OleColor c3);

// Makes the window's region plain: nothing of it is cut away.
void ResetWindowRegion(QWidget* window);

// The per-window skinning of newer Windows versions; never true here.
bool IsVistaOrLater();
void StopGlobalSkinIfVista();

// Lays a new element of SkinLabel1 exactly over every plain label of the window.
void ReplaceLabelsWithSkinLabels(QWidget* window, SkinLabelArray& SkinLabel1);
// The main window's form: a label goes to the array whose element 0 shares
// its container, and stays plain when neither does.
void ReplaceLabelsWithSkinLabels(QWidget* window, SkinLabelArray& SkinLabel1,
                                 SkinLabelArray& SkinLabel2);
