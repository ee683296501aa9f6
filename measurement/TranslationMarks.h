#pragma once
// Marks a text for the translation tools (lupdate) under a context, for a layer that shows it
// translated. Qt's own macro where Qt is there, the same no-op without it: the marked text is
// the plain literal either way.

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
