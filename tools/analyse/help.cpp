// SPDX-License-Identifier: GPL-3.0-or-later
// The tool's --help: every mode, option and output key in one text.
#include "options.h"

namespace cr::batch {

std::string helpText() {
    return R"help(Usage:
  chancenraster-analyse --steprate N [--spins K] [--json] [--threads T] FILE...
  chancenraster-analyse --steprate N --runs-of K [--spins M] [--pool] [--json]
                        [--threads T] FILE...
  chancenraster-analyse --steprate N --simulate RUNS --spins K [--seed S] [--json]
                        [--threads T]
  chancenraster-analyse --system MARSCH --progression P [--pairs rs,mp,gu]
                        [--unit U] [--limit L] [--capital C] [--zero Z]
                        [--paroli N] [--log FILE] --steprate N SOURCE...
  chancenraster-analyse --series [--spins K] [--pool] [--json] [--threads T] FILE...
  chancenraster-analyse --series --simulate RUNS --spins K [--seed S] [--json]
                        [--threads T]
  chancenraster-analyse --help
  chancenraster-analyse --version

Evaluates spins with the program's own rules, without the window: per pair
R/S, M/P and G/U the fields never hit ("leer") and the fields hit in step 1
and never since ("einmal"), step by step, beside the window's statistic
("statistisch", halved from step to step) and the exact expectation.

Modes:
  --steprate N        step rate, 1 to 16383 (required in every mode)
  (no mode option)    replay: one run over each FILE from its first spin,
                      one line per completed step with the six counters
  --spins K           only the first K spins of each file; with --simulate
                      the length of every run
  --runs-of K         cut each FILE into consecutive runs of K spins, each
                      starting afresh as after "Reset" (a remainder shorter
                      than K is left out), and give per step the mean and
                      standard deviation of each counter over the runs
  --pool              with --runs-of: after the tables of the files, one
                      table over the runs of all files together
  --simulate RUNS     the same table over RUNS runs of random numbers 0..36
  --seed S            start value of the simulation, 0 to 2^64-1; the same
                      seed gives the same output whatever the thread count
                      (without it, one is taken from the clock and shown)
  --threads T         worker threads, 1 to 256 (default: one per processor)
  --json              one JSON object per table and line instead of
                      tab-separated text

System test (--system): what betting on the even chances by a rule would
have done, with the exact law beside it. SOURCE is any of the three above:
files (each one session from its first spin; --spins K limits it), --runs-of
K FILE... (sessions of K spins) or --simulate R --spins K [--seed S]. Every
session begins afresh: fields as after "Reset", stakes at the unit, the
capital full.
  --system MARSCH     which side to bet before each spin: rot, schwarz,
                      manque, passe, gerade, ungerade (that chance on every
                      spin); leer (from step 2 on, at the step's position,
                      the side whose field is still empty while the other's
                      is not); folge (the side that fell at the position in
                      the step before; nothing after a zero); gegen (the
                      other side than folge); letzter (the side of the spin
                      before; nothing at the first spin or after a zero)
  --pairs LIST        the pairs leer, folge, gegen and letzter play, e.g.
                      rs,gu (default rs,mp,gu; one stake line each)
  --progression P     flat (always the unit); martingale (double after a
                      loss, the unit after a win); paroli (double after a
                      win, the unit after N wins in a row or a loss);
                      dalembert (a unit more after a loss, a unit less after
                      a win, never below the unit nor above the limit). A
                      zero counts as a loss; a stake above the limit goes
                      back to the unit
  --paroli N          with paroli: wins in a row before the unit, 1 to 64
                      (default 3)
  --unit U            base stake, 1 to 10^12 (default 1)
  --limit L           table limit, from the unit to 10^12 (default 1000)
  --capital C         starting capital, 0 to 10^12 (default 0: unlimited);
                      when the new stakes of a spin are not covered, the
                      session ends "ruined" (a prison stake locked on the
                      table is still decided by the next spin)
  --zero Z            partage (half the stake back, the default), prison
                      (the stake is locked and the next spin frees it if its
                      side wins, else it is lost; the pair bets nothing new
                      meanwhile; a freed stake is neither win nor loss; a
                      stake still locked at the session's end is settled as
                      partage) or verloren (the whole stake lost)
  --log FILE          every bet of the first session of the first source,
                      tab-separated: spin, number, pair, side, stake, return
                      (2 x stake for a win, half for partage, 0 for a loss;
                      a locked stake settled shows as a line with stake 0)
                      and balance after the spin
  --pool              with files: one more line over all of them
Output, one line per file or simulation: file, sessions, bets, turnover,
result, expected (the turnover times the house edge, as a loss: edge 1/74
partage, 19/1369 prison, 1/37 verloren), sd (of the total result given the stakes placed, covariances of
stakes on one spin included), z ((result - expected) / sd, empty without a
bet), won_share (sessions ended above their start), ruined_share,
max_drawdown (largest fall of the balance from its peak in any session),
max_stake (the largest single stake). --json writes the same names (z null
without a bet).

Series and numbers (--series): is the table fair? Needs no --steprate;
--runs-of does not apply. Each file, and each simulated run, is a sequence of
its own: series never cross from one into the next; a simulation of RUNS runs
and a pool (--pool: one more source over all files) sum the counts of their
sequences, and their expectations, means and variances likewise. Per pair
(rs, mp, gu; side 1 = Rot, Manque, Gerade, side 2 = Schwarz, Passe,
Ungerade) a zero belongs to no side: it neither ends nor extends a series.
Output, tab-separated: a pairs table, a blank line, a numbers table, each
with a header line.
  pairs table, one line per source and pair: file, pair, decisions (spins
    that were not zero), side_1, side_2 (decisions of each side), runs (all
    series), runs_expected (the runs test's mean 1 + 2 n1 n2 / n, summed over
    the sequences), runs_z ((runs - mean) / sd, with the variance
    2 n1 n2 (2 n1 n2 - n) / (n^2 (n - 1)) summed; empty where no sequence has
    decisions of both sides), longest_1, longest_1_chance (the exact chance
    of a series of side 1 at least that long somewhere in that many
    decisions), longest_2, longest_2_chance, ecart (side_1 - side_2),
    ecart_per_root (ecart / sqrt(decisions)), series_1, series_2 (the counts
    of series of exactly 1, 2, ... decisions of each side, comma-separated,
    up to the longest)
  numbers table, one line per source: file, spins, chi2 (sum over 0..36 of
    (count - spins/37)^2 / (spins/37), 36 degrees of freedom), chi2_p (its
    p-value; empty below 185 spins, where the test says nothing), most,
    most_count, most_chance (exact binomial chance of one given number
    coming at least that often), most_chance_37 (the bound
    1 - (1 - most_chance)^37 for the chance among 37 numbers; from below,
    the union bound 37 x most_chance lies above), least, least_count,
    least_chance (lower tail: at most that often), least_chance_37, numbers
    (the 37 counts of 0..36, comma-separated). On a tie the smaller number.
  --json, one object per source and line: "file" (null for a simulation or
    a pool; a pool adds "files", a simulation "seed"), "sequences", "spins",
    "numbers" (37 counts, 0 to 36), "number_expected" (spins/37),
    "number_sd" (sqrt(spins 1/37 36/37)), "chi2", "chi2_p" (null below 185
    spins), "most", "most_count", "most_chance", "most_chance_37", "least",
    "least_count", "least_chance", "least_chance_37", and per pair "rs",
    "mp", "gu" an object with "decisions", "sides" ([side 1, side 2]),
    "runs", "runs_expected", "runs_sd", "runs_z" (null where no sequence has
    decisions of both sides), "longest_1", "longest_1_chance", "longest_2",
    "longest_2_chance", "ecart", "ecart_per_root", "series_1", "series_2"
    (counts by length 1, 2, ...) and "series_1_expected",
    "series_2_expected" (the exact expectation of each length, up to the
    longest seen, at least length 1). The exact formulas are in
    docs/serien.md.

Files: a permanence as the window imports it (four header fields, the first
beginning with "Spielbank"; same reader, rules and refusals), or a plain list
of numbers without a header, comma- or line-separated, as recorded tables are
often published. A file whose first field does not begin with "Spielbank" is
read as such a list, and then every field must be a number (digits and at
most one decimal point) that rounds, half to even, to 0..36. In both, an
empty field (two commas in a row, a comma at a line's end) is no spin, and a
field longer than 4096 bytes refuses the file.

Output, tab-separated with one header line:
  replay:           file, step, statistisch, expected, leer_rs, leer_mp,
                    leer_gu, einmal_rs, einmal_mp, einmal_gu
  runs-of/simulate: file, runs, step, statistisch, expected, sigma, then
                    mean and sd of each counter (leer_rs_mean, leer_rs_sd, ...)
"expected" is the exact mean 2 N (18/37)^k of each counter at step k, "sigma"
its standard deviation sqrt(N q (1 - q)) with q = 2 (18/37)^k; "sd" is the
standard deviation over the runs (divided by the number of runs). In JSON,
Z is (MEAN - expected) / (sigma / sqrt(runs)), "empty_share" the share of
runs with at least one empty field of the pair, and "empty_share_exact" its
exact value 1 - (1 - q)^N. In the
file column a simulation shows as "(simulation, seed S)" and a pooled table
as "(all files)". Control characters, backslashes and bytes that are no
valid UTF-8 in file names (and in fields quoted in messages) are written as
\t, \n, \r, \\ or \xNN; in JSON such bytes become the text \xNN.

With --json, per table:
  replay:  {"file": PATH, "steprate": N, "spins": TAKEN, "steps": [{"step": k,
           "statistisch": S, "expected": MEAN, "leer": [RS, MP, GU],
           "einmal": [RS, MP, GU]}, ...]}
  runs:    {"file": PATH or null, "steprate": N, "spins": K, "runs": R, "steps":
           [{"step": k, "statistisch": S, "expected": MEAN, "sigma": SIGMA,
           "leer": [[MEAN, SD, Z] x3], "einmal": [[MEAN, SD, Z] x3],
           "empty_share": [RS, MP, GU], "empty_share_exact": P}, ...]}
           (a simulation adds "seed", a pooled table has "file": null and
           "files": [PATH, ...])

A file that is refused or cannot be read gets one line on stderr naming the
file, the position and the reason; the other files are still analysed. A
file too short for one run gets a note on stderr and a table without steps.
While work runs longer than a second, a progress line shows on stderr if it
is a terminal.

Exit status: 0 done, 1 a file was refused or unreadable, memory ran out or
the output could not be written, 2 bad arguments.
)help";
}

} // namespace cr::batch
