# Tests of the editor control, its gutter and its pictures, on Qt's offscreen platform with
# QTest key and mouse events.
find_package(Qt6 REQUIRED COMPONENTS Test)
tavrel_add_test(tavrel_editor_widget_tests
    SOURCES
        art_image_test.cpp
        display_font_test.cpp
        editor_clipboard_test.cpp
        editor_keys_test.cpp
        editor_mouse_test.cpp
        editor_view_test.cpp
        settle_test.cpp
        shade_pattern_test.cpp
    LIBS tavrel_editor Qt6::Test
    QT)
target_compile_definitions(tavrel_editor_widget_tests PRIVATE QT_NO_KEYWORDS)
