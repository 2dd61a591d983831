# Tests of the toolkit-free display code: no Qt, no fonts.
tavrel_add_test(tavrel_editor_layout_tests
    SOURCES
        cell_shapes_test.cpp
        cp437_test.cpp
        line_breaker_test.cpp
        view_metrics_test.cpp
        wrapped_layout_test.cpp
    LIBS tavrel_editor_core)
