# The Qt half of the editor: fonts, the glyph painter, the editor control and its gutter.
set(TAVREL_EDITOR_WIDGET_SOURCES
    ansi_text.cpp
    desktop_launcher.cpp
    display_font.cpp
    glyph_painter.cpp
    keyword_dialog.cpp
    keyword_dialog.h
    line_gutter.cpp
    text_editor.cpp
    text_editor_clipboard.cpp
    text_editor_keys.cpp
    text_editor_mouse.cpp
    text_editor.h
    line_gutter.h
    view_painter.cpp
)
# The engine's headers use "slots" as an ordinary word; Qt's keyword macros would break
# them, so this library spells Q_SIGNALS, Q_SLOTS and Q_EMIT.
add_compile_definitions(QT_NO_KEYWORDS)
