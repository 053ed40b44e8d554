#pragma once

// Makes MsgBox::Show put real modal message boxes on the screen.
void InstallWidgetMessageBoxes();
