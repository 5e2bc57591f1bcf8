"""``python -m orvex``: see ``orvex.cli``."""

import sys

from .cli import main

sys.exit(main())
