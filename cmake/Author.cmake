# SPDX-License-Identifier: GPL-3.0-or-later
# The author's name and telephone number in the window caption and the web page
# the banner opens. One place for both builds: the window's (the main project)
# and the web page's (web/), so the two show the same caption.
include_guard(GLOBAL)

set(DECREE_AUTHOR_NAME "واحد کارگزینی" CACHE STRING "Author's name in the window caption")
set(DECREE_AUTHOR_PHONE "000-00000000" CACHE STRING "Author's telephone number in the window caption")
set(DECREE_WEB_ADDRESS "https://example.org/" CACHE STRING "Web page the banner opens")
