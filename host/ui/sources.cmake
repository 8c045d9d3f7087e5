list(APPEND HOST_SOURCES
  ui/Backend.cpp
  ui/Dialogs.cpp
  ui/MessageForm.cpp
  ui/Controls.cpp
  ui/WinControl.cpp
  ui/Align.cpp
  ui/Focus.cpp
  ui/EnterExit.cpp
  ui/Keyboard.cpp
  ui/ShortCuts.cpp
  ui/Mouse.cpp
  ui/ControlPaint.cpp
)
list(APPEND HOST_SOURCES
  ui/StdCtrls.cpp
  ui/DBCtrls.cpp
  ui/Grids.cpp
)
list(APPEND HOST_SOURCES
  ui/BmpFormat.cpp
  ui/Graphics.cpp
  ui/CellSurface.cpp
  ui/Canvas.cpp
  ui/CanvasTools.cpp
  ui/PaintTools.cpp
  ui/StdPaint.cpp
  ui/ExtPaint.cpp
  ui/GridPaint.cpp
  ui/Label.cpp
  ui/GroupBox.cpp
  ui/CheckBox.cpp
  ui/Memo.cpp
  ui/DBText.cpp
  ui/DBCheckBox.cpp
  ui/DBNavigator.cpp
)
list(APPEND HOST_SOURCES
  ui/SpeedButton.cpp
)
list(APPEND HOST_SOURCES
  ui/Colors.cpp
  ui/Font.cpp
  ui/ControlLook.cpp
  ui/Screen.cpp
  ui/Forms.cpp
  ui/FormModal.cpp
  ui/FormPaint.cpp
  ui/ModalRun.cpp
  ui/App.cpp
  ui/Button.cpp
  ui/Buttons.cpp
  ui/ListBox.cpp
  ui/StaticText.cpp
  ui/ExtCtrls.cpp
)
