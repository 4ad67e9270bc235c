// Must not compile in the model: a Qt Widgets header.
#include <QtWidgets/QWidget>
