# The toolkit-free half of the editor's display: code page 437, glyph metrics, line
# breaking, the drawn cell shapes, the display lines of a document and the view's figures.
set(TAVREL_EDITOR_LAYOUT_SOURCES
    cell_shapes.cpp
    column_edit.cpp
    cp437.cpp
    glyph_metrics.cpp
    line_breaker.cpp
    view_metrics.cpp
    wrapped_layout.cpp
)
