#!/usr/bin/env bash
# Every message that the guide quotes exists in the program's code, so that the guide cannot
# drift from the program. A quoted message is a line beginning with "> " in the guide's section
# "Les messages"; its variable parts are written [like this] (a number stands for itself or
# for a value). Each fixed piece between them must be made of the program's string literals
# as the code joins them: the end of one, whole ones, the start of another, word for word.
# It also checks the guide's French typography, outside the quoted messages, code and the
# program's texts quoted between « »: a non-breaking space (U+00A0 or U+202F) before : ; ? !
# and inside « », never an ordinary one.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
typography=0
perl -CSD -Mutf8 -e '
  my ($quote, $fence, $bad) = (0, 0, 0);
  open(my $guide, "<", "docs/guide.md") or die;
  while (my $line = <$guide>) {
    chomp $line;
    $fence = !$fence if $line =~ /^```/;
    next if $fence || $line =~ /^(>|    |```)/;
    (my $text = $line) =~ s/`[^`]*`//g;
    $text =~ s/\]\([^)]*\)/]/g;
    for my $at (0 .. length($text) - 1) {
      my ($c, $next, $before) = (substr($text, $at, 1), substr($text, $at + 1, 1), $at ? substr($text, $at - 1, 1) : "");
      my $fault = $c eq "«" && $next ne "\x{A0}" && $next ne "\x{202F}" ? "« sans espace insécable après"
                : $c eq "»" && $at && $before ne "\x{A0}" && $before ne "\x{202F}" ? "» sans espace insécable avant"
                : !$quote && $c =~ /[:;?!]/ && $before eq " " ? "espace ordinaire avant « $c »" : "";
      $quote++ if $c eq "«";
      $quote-- if $c eq "»" && $quote;
      next unless $fault;
      print "Typographie, ligne $.: $fault : $line\n";
      $bad++;
    }
  }
  exit($bad ? 1 : 0);' || typography=1
# The program's code: every header and source file of the folders of the layer table.
sources=()
for folder in $(awk '{ sub(/#.*/, "") } NF { print $1 }' layers.txt); do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -f "$file" ] && sources+=("$file")
  done
done
cat "${sources[@]}" |
  perl -CSD -Mutf8 -0777 -e '
    my $code = <STDIN>;
    my @literals;
    push @literals, $1 while $code =~ /LR"\((.*?)\)"/gs;
    $code =~ s/LR"\(.*?\)"//gs;
    $code =~ s/"\s*L"//g;  # adjacent literals are one
    while ($code =~ /L"((?:[^"\\]|\\.)*)"/g) { (my $l = $1) =~ s/\\([rnt])/ /g; $l =~ s/\\(.)/$1/g; push @literals, $l }
    my @words = map { [split " ", $_] } grep { /\S/ } @literals;
    sub same { my ($a, $b, $n) = @_; for (0 .. $n - 1) { return 0 if $a->[$_] ne $b->[$_] } 1 }
    sub covered {  # the piece as literals join: [part of one] or [end of one, whole ones, start of one]
      my @p = @_; my %reach = (0 => 1);
      for my $i (0 .. $#p) {
        next unless $reach{$i};
        my @rest = @p[$i .. $#p];
        for my $l (@words) {
          for my $s ($i == 0 ? (0 .. $#$l) : (0)) {
            my @tail = @$l[$s .. $#$l];
            return 1 if @rest <= @tail && same(\@rest, \@tail, scalar @rest);
            $reach{$i + @tail} = 1 if @tail < @rest && same(\@rest, \@tail, scalar @tail);
          }
        }
      }
      return $reach{scalar @p};
    }
    $/ = "\n";
    open(my $guide, "<", "docs/guide.md") or die;
    my ($inside, $count, $missing) = (0, 0, 0);
    while (my $line = <$guide>) {
      $inside = $line =~ /^## (\d+\. )?Les messages/ if $line =~ /^## /;
      next unless $inside && $line =~ s/^> //;
      chomp $line;
      for my $piece (split /\[[^\]]*\]|(?<!\S)\d+(?!\S)/, $line) {
        my @p = split " ", $piece;
        next unless @p;
        $count++;
        next if covered(@p);
        print "Absent du code : « @p » (dans : $line)\n";
        $missing++;
      }
    }
    print "$count textes cités dans docs/guide.md, $missing absents du code\n";
    exit($count > 0 && $missing == 0 ? 0 : 1);'
exit "$typography"
