# The toolkit-free text engine.
set(TAVREL_EDITOR_ENGINE_SOURCES
    address_scanner.cpp
    code_page.cpp
    document.cpp
    editor_highlights.cpp
    keyword_list.cpp
    search.cpp
    text_engine.cpp
    text_views.cpp
    undo_list.cpp
    url_highlighter.cpp
)
