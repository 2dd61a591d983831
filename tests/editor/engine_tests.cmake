# Tests of the toolkit-free text engine.
tavrel_add_test(tavrel_editor_engine_tests
    SOURCES
        document_memory_test.cpp
        document_test.cpp
        engine_property_test.cpp
        search_test.cpp
        text_engine_test.cpp
    LIBS tavrel_editor_core
)
