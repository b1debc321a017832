#!/usr/bin/python3
"""The table as a screen reader meets it over the AT-SPI bus.

Starts the program under Xvfb (inside a private D-Bus session made by the caller),
starts a game through the menu, bids and plays one card, and reads back what the
accessibility bridge says: seat names, the person's cards by name, face-down cards,
the bids table, turn changes, the trick and who took it.

    atspi_table.py PROGRAM
Exit 0 on success, 1 on a failed check.
"""
import os
import re
import ctypes
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Older names for the interfaces are what Debian 12 has for certain.
warnings.simplefilter("ignore", DeprecationWarning)

SEATS = ["Nora", "Eamon", "Sadie", "Wren"]  # North, East, South, West
PERSON = SEATS[2]
RANKS = "Ace|2|3|4|5|6|7|8|9|10|Jack|Queen|King"
SUITS = "Spades|Hearts|Clubs|Diamonds"
CARD = re.compile(rf"^({RANKS}) of ({SUITS})$")
PLAYED = re.compile(rf"^({'|'.join(SEATS)}) played the (({RANKS}) of ({SUITS}))$")

SETTINGS = (
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\r\n"
    '"Speed"="Bullet"\r\n"MusicOn"=dword:00000000\r\n"Animate Cards"=dword:00000000\r\n'
    + "".join(
        f'\r\n[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player{i + 1}]\r\n"Name"="{name}"\r\n'
        f'"Type"="{"Human" if name == PERSON else "Computer"}"\r\n'
        for i, name in enumerate(SEATS)
    )
)


def taker(plays):
    """Who takes a trick of (seat, card, rank, suit) plays, the lead first."""
    order = RANKS.split("|")
    power = lambda p: order.index(p.group(3)) if p.group(3) != "Ace" else len(order)  # noqa: E731
    lead = plays[0].group(4)
    trumps = [p for p in plays if p.group(4) == "Spades"]
    return max(trumps or [p for p in plays if p.group(4) == lead], key=power).group(1)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def pump(seconds):
    """Runs the GLib loop (events from the bus) for a while."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(what, predicate, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            value = predicate()
        except GLib.Error:
            value = None  # an object that went away while being read
        if value:
            return value
        pump(0.1)
    raise Failure(f"timed out waiting for {what}")


def children(node):
    try:
        return [c for c in (node.get_child_at_index(i) for i in range(node.get_child_count())) if c]
    except GLib.Error:
        return []


def walk(node):
    yield node
    for child in children(node):
        yield from walk(child)


def role(node):
    return node.get_role_name()


def find(root, role_name, name=None, description=None):
    return [
        n for n in walk(root)
        if role(n) == role_name and (name is None or n.get_name() == name)
        and (description is None or n.get_description() == description)
    ]


def press(node):
    count = node.get_n_actions()
    check(count > 0, f"{role(node)} '{node.get_name()}' has no action")
    names = [node.get_action_name(i) for i in range(count)]
    index = next((i for i, n in enumerate(names) if n in ("press", "click", "toggle")), 0)
    check(node.do_action(index), f"{role(node)} '{node.get_name()}' refused '{names[index]}'")


def keys(*names):
    """Types into the main window; there is no window manager to give it the focus."""
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quelbrin Spades$"],
                            capture_output=True, text=True, timeout=10).stdout.split()
    check(window, "no main window to type into")
    subprocess.run(["xdotool", "windowfocus", window[0]], timeout=10)
    for name in names:
        pump(0.3)
        subprocess.run(["xdotool", "key", name], timeout=10)


def die_with_parent():
    """Children go when the query goes, however it ends."""
    ctypes.CDLL("libc.so.6", use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


class Xvfb:
    def __enter__(self):
        # The server picks a free display and names it once it takes connections;
        # no reset when a client leaves, so no client meets it between two lives.
        reader, writer = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(writer), "-noreset", "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], pass_fds=(writer,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
        os.close(writer)
        with os.fdopen(reader) as named:
            self.display = named.readline().strip()
        if not self.display:
            raise Failure("Xvfb did not start")
        os.environ["DISPLAY"] = f":{self.display}"
        return self

    def __exit__(self, *_):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()


def start_program(program, home):
    config = os.path.join(home, "config")
    os.makedirs(os.path.join(config, "Tarnwell"))
    os.makedirs(os.path.join(home, "data"))
    os.makedirs(os.path.join(home, "run"), mode=0o700)
    with open(os.path.join(config, "Tarnwell", "Spades.reg"), "w", encoding="utf-8") as f:
        f.write(SETTINGS)
    env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_RUNTIME_DIR=os.path.join(home, "run"), HOME=home, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("QT_QPA_PLATFORM", None)
    log = open(os.path.join(home, "out.log"), "w")
    return subprocess.Popen([program], env=env, stdout=log, stderr=subprocess.STDOUT, preexec_fn=die_with_parent)


def find_application(pid):
    def found():
        desktop = Atspi.get_desktop(0)
        for app in children(desktop):
            if app.get_process_id() == pid:
                return app
        return None
    return wait_for("the program on the AT-SPI bus", found)


def run(program):
    Atspi.init()
    heard = []  # (role, name, description) of every description change

    def on_description(event):
        try:
            source = event.source
            heard.append((role(source), source.get_name(), source.get_description()))
        except GLib.Error:
            pass

    listener = Atspi.EventListener.new(on_description)
    listener.register("object:property-change:accessible-description")

    home = tempfile.mkdtemp()
    app_proc = None
    try:
        with Xvfb():
            app_proc = start_program(program, home)
            try:
                check_table(find_application(app_proc.pid), heard)
            finally:
                app_proc.terminate()
                try:
                    app_proc.wait(5)
                except subprocess.TimeoutExpired:
                    app_proc.kill()
    except Failure:
        with open(os.path.join(home, "out.log"), errors="replace") as f:
            for line in f:
                print("  program:", line.rstrip())
        raise
    finally:
        shutil.rmtree(home, ignore_errors=True)


def check_table(app, heard):
    check(app.get_name() == "Quelbrin Spades", f"application named '{app.get_name()}'")
    frame = wait_for("the main window", lambda: next(iter(find(app, "frame", "Quelbrin Spades")), None))
    table = wait_for("the card table", lambda: next(iter(find(frame, "filler", "Card table")), None))

    # The seats by the names the settings give them.
    def seats():
        return [n.get_name() for n in find(table, "label") if n.get_description().startswith("Seat")]
    try:
        wait_for("the seat names", lambda: seats() == SEATS, 10)
    except Failure:
        raise Failure(f"seat labels {seats()}")
    check(find(table, "filler", "Trick"), "no trick area")
    check(find(table, "push button", "Stop"), "no Stop button")
    prompt = [n for n in find(table, "label") if n.get_description() == "Prompt"]
    check(prompt and prompt[0].get_name() == "Press the F2 key to start a game", "prompt before a game")

    # A game from the keyboard. (The menu item's action would wait on the bid
    # dialog's own loop before it replied.)
    check(find(frame, "menu item", "New"), "no Game > New menu item")
    keys("F2")
    bid = wait_for("the bid dialog", lambda: next(iter(find(app, "dialog", "Bid")), None))
    check(find(bid, "label", f"{PERSON} Bid"), "bid dialog does not name the seat")
    check([n for n in find(table, "label", PERSON) if n.get_description() == "Seat, to bid"],
          "the person's seat does not say it is to bid")

    # The person's hand by name, every other card face down.
    cards = [n.get_name() for n in find(table, "filler") if n.get_name() not in ("Card table", "Trick")]
    hand = [c for c in cards if CARD.match(c)]
    check(len(hand) == 13 and len(set(hand)) == 13, f"the person's hand reads {hand}")
    backs = cards.count("card back")
    check(backs >= 39, f"{backs} face-down cards named 'card back'")
    check(len(cards) == len(hand) + backs, f"cards with other names: {set(cards) - set(hand) - {'card back'}}")

    # The bids table: one row a seat.
    bids = find(table, "table", "Bids")
    check(bids, "no Bids table")
    grid = bids[0].get_table_iface()
    check(grid is not None, "Bids has no table interface")
    check(grid.get_n_rows() == 4, f"Bids has {grid.get_n_rows()} rows")
    rows = [grid.get_accessible_at(r, 0).get_name() for r in range(4)]
    check(rows == SEATS, f"Bids rows name {rows}")

    # The bid: the 3 button, then OK, through their actions.
    press(find(bid, "check box", "3")[0])
    press(find(bid, "push button", "OK")[0])
    wait_for("the bid dialog to close", lambda: not find(app, "dialog", "Bid"))

    said = lambda text: any(d == text for _, _, d in heard)  # noqa: E731
    wait_for(f"'{PERSON} to play'", lambda: said(f"{PERSON} to play"), 30)
    check(said(f"{PERSON} to bid"), f"the turn to bid was not announced; heard {sorted({d for _, _, d in heard})}")
    marked = [n for n in find(table, "label", PERSON) if n.get_description() == "Seat, to play"]
    check(marked, "the person's seat does not say it is to play")

    cells = [grid.get_accessible_at(r, 1).get_name() for r in range(4)]
    check(all(re.fullmatch(r"\d+|NIL", c) for c in cells), f"bids read {cells}")
    check(cells[2] == "3", f"the person's bid reads '{cells[2]}'")

    # One card, played from the keyboard.
    keys("Right", "Return")

    winner = wait_for("a trick to be taken",
                      lambda: next((d for _, _, d in heard if d.endswith(" won the trick")), None), 30)
    check(winner[: -len(" won the trick")] in SEATS, f"winner announced as '{winner}'")

    # The trick as it lay, card by card.
    tricks = [d for r, n, d in heard if r == "filler" and n == "Trick"]
    full = [t for t in tricks if t.count(" played the ") == 4]
    check(full, f"the trick never read four cards; read {tricks}")
    plays = [PLAYED.match(p) for p in full[0].split(", ")]
    check(all(plays), f"trick reads '{full[0]}'")
    check(sorted(p.group(1) for p in plays) == sorted(SEATS), f"trick reads '{full[0]}'")
    check(winner == f"{taker(plays)} won the trick", f"'{winner}' after '{full[0]}'")
    mine = next(p.group(2) for p in plays if p.group(1) == PERSON)
    check(mine in hand, f"the person played '{mine}', not from the hand {hand}")
    check(any(n == mine and d == f"{PERSON} played the {mine}" for r, n, d in heard if r == "filler"),
          f"the card '{mine}' never said who played it")
    print(f"AT-SPI: seats {SEATS}, hand of 13 named, {backs} backs, bids {cells}, "
          f"trick '{full[0]}', '{winner}'")


def out_of_time(*_):
    raise Failure("the whole query took more than a minute and a half")


if __name__ == "__main__":
    signal.signal(signal.SIGALRM, out_of_time)
    signal.signal(signal.SIGTERM, out_of_time)
    signal.alarm(90)
    try:
        run(sys.argv[1])
    except Failure as failure:
        print("FAIL:", failure)
        sys.exit(1)
