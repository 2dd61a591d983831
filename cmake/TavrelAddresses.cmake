# The web addresses the program and its package name, in one place. Empty ones are left out:
# a menu item without an address is hidden, the package metadata omits it.
set(TAVREL_HOMEPAGE_URL "" CACHE STRING "Home page (About box, package metadata)")
set(TAVREL_UPDATE_URL "" CACHE STRING "Page that tells of new versions (Help menu)")
set(TAVREL_OTHER_SOFTWARE_URL "" CACHE STRING "Page of the maker's other programs (Help menu)")
set(TAVREL_SCREENSHOT_URL "" CACHE STRING
    "Address of docs/screenshot.png as published, for software centres")
