#pragma once
// Force-included into every model source. The model library decides bytes
// and texts only; a window, serial or print module in it is a design error.
#if defined(QT_WIDGETS_LIB) || defined(QT_SERIALPORT_LIB) || defined(QT_PRINTSUPPORT_LIB) || defined(QT_GUI_LIB)
#error "quillon_model must not depend on Qt Gui, Widgets, SerialPort or PrintSupport"
#endif
