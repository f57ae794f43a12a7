# pass_persist script of the "faulty" data set: an agent subtree F = B.40
# (B = .1.3.6.1.4.1.43917.50.1.10.1.1) that breaks the rules a manager relies on.
#
#   F.1.1.2.1 .. .3  cycling column: get gives "cycle-a", "cycle-b", "cycle-c"; get-next goes
#                    .1 -> .2 -> .3 -> .1 (a, b, c, a: never leaves the column, never repeats twice
#                    in a row)
#   F.2.1.2.1        stuck column: get gives "stuck"; get-next of F.2.1.2.1 answers F.2.1.2.1
#   F.3.1.2.1 .. .9  a column of display strings served with wrong types: 1 INTEGER -7,
#                    2 Gauge32 4000000000, 3 Counter32 123456, 4 TimeTicks 8640000,
#                    5 IpAddress 192.0.2.10, 6 OBJECT IDENTIFIER .1.3.6.1.4.1.43917,
#                    7 OCTET STRING of the bytes 00 FF 41 80, 8 empty OCTET STRING,
#                    9 Counter64 5000000000
#   F.4.1.0          accepts a set and keeps the value while the script runs (get: "writable")
#   F.4.<s>.0        s = 5..18: get gives "status-<s>"; a set is refused with error status s
#                    (5 genErr, 6 noAccess, 7 wrongType, 8 wrongLength, 9 wrongEncoding,
#                    10 wrongValue, 11 noCreation, 12 inconsistentValue, 13 resourceUnavailable,
#                    14 commitFailed, 15 undoFailed, 16 authorizationError, 17 notWritable,
#                    18 inconsistentName); SNMPv1 sees snmpd's v1 mapping of them
# Everything else is lexicographic: a get-next answers the first of the OIDs above that is
# greater than the one asked; get of anything else answers nothing.
#
# snmpd reads this script's stdout and stderr as one stream: never print to STDERR.
use strict;
use warnings;

$| = 1;
my $F = '.1.3.6.1.4.1.43917.50.1.10.1.1.40';
my %errors = (
    5 => 'gen-error', 6 => 'no-access', 7 => 'wrong-type', 8 => 'wrong-length',
    9 => 'wrong-encoding', 10 => 'wrong-value', 11 => 'no-creation',
    12 => 'inconsistent-value', 13 => 'resource-unavailable', 14 => 'commit-failed',
    15 => 'undo-failed', 16 => 'authorization-error', 17 => 'not-writable',
    18 => 'inconsistent-name',
);
my @typed = (
    ['integer', '-7'], ['gauge', '4000000000'], ['counter', '123456'],
    ['timeticks', '8640000'], ['ipaddress', '192.0.2.10'], ['objectid', '.1.3.6.1.4.1.43917'],
    ['octet', '00 ff 41 80'], ['string', ''], ['counter64', '5000000000'],
);

my %cells;    # OID => [type, value]
$cells{"$F.1.1.2.1"} = ['string', 'cycle-a'];
$cells{"$F.1.1.2.2"} = ['string', 'cycle-b'];
$cells{"$F.1.1.2.3"} = ['string', 'cycle-c'];
$cells{"$F.2.1.2.1"} = ['string', 'stuck'];
$cells{"$F.3.1.2." . ($_ + 1)} = $typed[$_] for 0 .. $#typed;
$cells{"$F.4.1.0"} = ['string', 'writable'];
$cells{"$F.4.$_.0"} = ['string', "status-$_"] for keys %errors;

my %successor = ("$F.1.1.2.3" => "$F.1.1.2.1", "$F.2.1.2.1" => "$F.2.1.2.1");

sub compare_oids {
    my @a = split /\./, substr($_[0], 1);
    my @b = split /\./, substr($_[1], 1);
    for my $i (0 .. ($#a < $#b ? $#a : $#b)) {
        return $a[$i] <=> $b[$i] if $a[$i] != $b[$i];
    }
    return @a <=> @b;
}

my @ordered = sort { compare_oids($a, $b) } keys %cells;

sub answer {
    my ($oid) = @_;
    my $cell = $cells{$oid};
    print "$oid\n$cell->[0]\n$cell->[1]\n";
}

while (defined(my $command = <STDIN>)) {
    chomp $command;
    if ($command eq 'PING') { print "PONG\n"; next; }
    next if $command eq '';    # snmpd ends every set with an empty line
    my $oid = <STDIN>;
    last unless defined $oid;
    chomp $oid;
    if ($command eq 'get') {
        if ($cells{$oid}) { answer($oid); } else { print "NONE\n"; }
    } elsif ($command eq 'getnext') {
        my $next = $successor{$oid};
        unless (defined $next) {
            ($next) = grep { compare_oids($_, $oid) > 0 } @ordered;
        }
        if (defined $next) { answer($next); } else { print "NONE\n"; }
    } elsif ($command eq 'set') {
        my $value = <STDIN>;
        last unless defined $value;
        chomp $value;
        my ($status) = $oid =~ /^\Q$F\E\.4\.(\d+)\.0$/;
        if (!defined $status) {
            print "not-writable\n";
        } elsif ($status == 1) {
            my ($type, $text) = split / /, $value, 2;
            $text = '' unless defined $text;
            $text =~ s/^"(.*)"$/$1/;
            $cells{$oid} = [$type eq 'octet' ? 'octet' : 'string', $text];
            print "DONE\n";
        } elsif ($errors{$status}) {
            print "$errors{$status}\n";
        } else {
            print "not-writable\n";
        }
    } else {
        print "NONE\n";
    }
}
