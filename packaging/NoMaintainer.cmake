# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack when the build was configured without a maintainer: a package must name the
# person who answers for it.
message(FATAL_ERROR "No package maintainer: configure with "
                    "-DCALC_MAINTAINER=\"Your Name <you@example.org>\" and run cpack again.")
