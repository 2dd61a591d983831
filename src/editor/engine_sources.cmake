# The toolkit-free text engine.
set(TAVREL_EDITOR_ENGINE_SOURCES
    code_page.cpp
    document.cpp
    search.cpp
    text_engine.cpp
    text_views.cpp
    undo_list.cpp
)
