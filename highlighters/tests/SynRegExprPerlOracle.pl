#!/usr/bin/perl
# Answers the regular-expression differential test with perl's own matcher.
# Input lines: flags, pattern (hex), subject (hex), separated by tabs.
# Output lines: "E" when perl rejects the pattern, "N" for no match, or "M"
# followed by start and end offsets of every group (-1 -1 for a group without
# a result), group 0 first.
use strict;
use warnings;
no warnings 'regexp';

my ($inputName, $outputName) = @ARGV;
open(my $input, '<:raw', $inputName) or die "cannot read $inputName: $!";
open(my $output, '>:raw', $outputName) or die "cannot write $outputName: $!";

my ($lastKey, $compiled) = ('', undef);
while (my $line = <$input>) {
    chomp $line;
    my ($flags, $patternHex, $subjectHex) = split /\t/, $line, -1;
    my $key = "$flags\t$patternHex";
    if ($key ne $lastKey) {
        my $pattern = pack('H*', $patternHex);
        $compiled = eval {
            no warnings;
            $flags eq '' ? qr/$pattern/ : qr/(?$flags)$pattern/;
        };
        $lastKey = $key;
    }
    if (!defined $compiled) {
        print $output "E\n";
        next;
    }
    my $subject = pack('H*', $subjectHex);
    # The match variables belong to this block, so the match stays here.
    if ($subject !~ $compiled) {
        print $output "N\n";
        next;
    }
    my @groups;
    for my $group (0 .. $#+) {
        push @groups, defined $-[$group] ? ($-[$group], $+[$group]) : (-1, -1);
    }
    print $output join(' ', 'M', @groups), "\n";
}
close($output) or die "cannot write $outputName: $!";
